// Every LWO2 object and LWS scene of Debian's assimp-testmodels, made by
// other people, exports through the real module to a DFF that the reader
// finds sound, with one atomic per object with polygons; each object saved
// again as LWO3 exports to the same DFF.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include <unistd.h>

#include "dff_inspect/inspect.h"
#include "host/lightwave_files.h"
#include "host/module_loader.h"
#include "host/standin_host.h"
#include "lightwave/lwo3_writer.h"
#include "lightwave/lwo_reader.h"
#include "lwsdk/file_request.h"
#include "tests/support/assimp_samples.h"

namespace {
namespace fs = std::filesystem;

const fs::path& kModels = testsupport::kAssimpModels;

std::size_t ObjectsWithPolygons(const host::Scene& scene) {
  return static_cast<std::size_t>(
      std::count_if(scene.items.begin(), scene.items.end(), [&](const host::Item& item) {
        return item.type == host::ItemType::kObject && item.mesh >= 0 &&
               !scene.meshes[static_cast<std::size_t>(item.mesh)].polygons.empty();
      }));
}

// The module's export of a loaded scene: the DFF's bytes, after checking
// that it reported success and released every mesh snapshot.
std::vector<std::uint8_t> Export(host::Scene scene) {
  const fs::path output = fs::temp_directory_path() / ("velmora-sample-" +
                                                       std::to_string(::getpid()) + ".dff");
  host::StandInHost host(std::move(scene));
  host.SetFileResponder([&](const host::FileRequest& request) -> std::optional<std::string> {
    if (request.reqType == FREQ_SAVE) return output.string();
    return std::nullopt;
  });
  host::PluginModule module(VELMORA_MODULE_PATH);
  module.RunGeneric("Export to DFF v0.1", host.global());

  // Frames are named after their items, and several samples' file names
  // are longer than the game holds: the cut is reported before success.
  EXPECT_FALSE(host.messages().empty());
  if (!host.messages().empty()) {
    EXPECT_EQ(host.messages().back().line1, "Export successful");
  }
  for (std::size_t i = 0; i + 1 < host.messages().size(); ++i) {
    EXPECT_NE(host.messages()[i].line1.find("frame name was longer than the game holds"), std::string::npos)
        << host.messages()[i].line1;
  }
  EXPECT_EQ(host.liveMeshSnapshots(), 0);
  std::vector<std::uint8_t> bytes;
  std::string error;
  EXPECT_TRUE(dffinfo::ReadWholeFile(output.string(), bytes, error)) << error;
  fs::remove(output);
  return bytes;
}

class AssimpSampleExport : public ::testing::TestWithParam<std::string> {};

TEST_P(AssimpSampleExport, ExportsASoundDff) {
  if (GetParam().empty()) GTEST_SKIP() << "assimp-testmodels is not installed under " << kModels;
  host::Scene scene = host::LoadSceneFile((kModels / GetParam()).string());
  const std::size_t meshes = ObjectsWithPolygons(scene);
  const std::vector<std::uint8_t> bytes = Export(std::move(scene));
  const dffinfo::Inspection inspection = dffinfo::Inspect(bytes);
  EXPECT_TRUE(inspection.sound());
  ASSERT_EQ(inspection.clumps.size(), 1u);
  EXPECT_EQ(inspection.clumps[0].atomics.size(), meshes);
}

// Each object re-saved as LWO3, with Standard and with Principled BSDF
// materials, exports to the DFF of its LWO2 original.
class AssimpObjectResave : public ::testing::TestWithParam<std::string> {};

TEST_P(AssimpObjectResave, ItsLwo3SavesExportTheSameDff) {
  if (GetParam().empty()) GTEST_SKIP() << "assimp-testmodels is not installed under " << kModels;
  const fs::path original = kModels / GetParam();
  const std::vector<std::uint8_t> expected = Export(host::LoadSceneFile(original.string()));
  const host::Lwo2Object object = host::ReadLwo(host::ReadFileBytes(original.string()), original.string());
  const fs::path resaved = fs::temp_directory_path() / ("velmora-lwo3-" + std::to_string(::getpid())) /
                           original.filename();
  fs::create_directories(resaved.parent_path());
  for (const host::Lwo3Material material : {host::Lwo3Material::kStandard, host::Lwo3Material::kPrincipled}) {
    host::WriteLwo3File(object, resaved.string(), material);
    EXPECT_EQ(Export(host::LoadSceneFile(resaved.string())), expected)
        << (material == host::Lwo3Material::kStandard ? "Standard" : "Principled BSDF");
  }
  fs::remove_all(resaved.parent_path());
}

std::string CaseName(const ::testing::TestParamInfo<std::string>& info) {
  std::string name = info.param.empty() ? "absent" : info.param;
  for (char& c : name) {
    if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
  }
  return name;
}

INSTANTIATE_TEST_SUITE_P(Files, AssimpSampleExport, ::testing::ValuesIn(testsupport::AssimpLightWaveFiles({"LWO/LWO2", "LWS"})), CaseName);
INSTANTIATE_TEST_SUITE_P(Objects, AssimpObjectResave, ::testing::ValuesIn(testsupport::AssimpLightWaveFiles({"LWO/LWO2"})),
                         CaseName);

}  // namespace
