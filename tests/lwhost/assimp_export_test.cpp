// Every LWO2 object and LWS scene of Debian's assimp-testmodels, made by
// other people, exports through the real module to a DFF that the reader
// finds sound, with one atomic per object with polygons.
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

class AssimpSampleExport : public ::testing::TestWithParam<std::string> {};

TEST_P(AssimpSampleExport, ExportsASoundDff) {
  if (GetParam().empty()) GTEST_SKIP() << "assimp-testmodels is not installed under " << kModels;
  host::Scene scene = host::LoadSceneFile((kModels / GetParam()).string());
  const std::size_t meshes = ObjectsWithPolygons(scene);
  const fs::path output = fs::temp_directory_path() / ("velmora-sample-" +
                                                       std::to_string(::getpid()) + ".dff");
  host::StandInHost host(std::move(scene));
  host.SetFileResponder([&](const host::FileRequest& request) -> std::optional<std::string> {
    if (request.reqType == FREQ_SAVE) return output.string();
    return std::nullopt;
  });
  host::PluginModule module(VELMORA_MODULE_PATH);
  module.RunGeneric("Export to DFF v0.1", host.global());

  ASSERT_EQ(host.messages().size(), 1u) << host.messages().front().line1;
  EXPECT_EQ(host.messages()[0].line1, "Export successful");
  std::vector<std::uint8_t> bytes;
  std::string error;
  ASSERT_TRUE(dffinfo::ReadWholeFile(output.string(), bytes, error)) << error;
  fs::remove(output);
  const dffinfo::Inspection inspection = dffinfo::Inspect(bytes);
  EXPECT_TRUE(inspection.sound());
  ASSERT_EQ(inspection.clumps.size(), 1u);
  EXPECT_EQ(inspection.clumps[0].atomics.size(), meshes);
  EXPECT_EQ(host.liveMeshSnapshots(), 0);
}

std::string CaseName(const ::testing::TestParamInfo<std::string>& info) {
  std::string name = info.param.empty() ? "absent" : info.param;
  for (char& c : name) {
    if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
  }
  return name;
}

INSTANTIATE_TEST_SUITE_P(Files, AssimpSampleExport, ::testing::ValuesIn(testsupport::AssimpLightWaveFiles({"LWO/LWO2", "LWS"})), CaseName);

}  // namespace
