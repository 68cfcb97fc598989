// One model saved as LWO2 and as LWO3 exports to the same DFF, byte for
// byte, whether the object is loaded bare or named by a scene: the bundled
// example, with its materials as Standard nodes and, with the one colour
// layer a Principled node holds, as Principled BSDF nodes.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include <unistd.h>

#include "host/lightwave_files.h"
#include "host/module_loader.h"
#include "host/standin_host.h"
#include "lightwave/lwo2_writer.h"
#include "lightwave/lwo3_writer.h"
#include "lightwave/lwo_reader.h"
#include "lwsdk/file_request.h"
#include "tests/support/files_and_programs.h"

namespace {
namespace fs = std::filesystem;

class SameModel : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = fs::temp_directory_path() / ("velmora-same-model-" + std::to_string(::getpid()));
    fs::remove_all(folder_);
    fs::create_directories(folder_);
    const fs::path example = fs::path(EXAMPLE_DIR) / "buggy.lwo";
    buggy_ = host::ReadLwo(testsupport::ReadFileBytes(example), example.string());
    scene_ = testsupport::ReadFileText(fs::path(EXAMPLE_DIR) / "buggy.lws");
  }
  void TearDown() override { fs::remove_all(folder_); }

  // The DFF that the module writes for the scene of a file.
  std::vector<std::uint8_t> Export(const fs::path& input) {
    const fs::path output = folder_ / (input.stem().string() + input.extension().string() + ".dff");
    host::StandInHost host(host::LoadSceneFile(input.string()));
    host.SetFileResponder([&](const host::FileRequest& request) -> std::optional<std::string> {
      if (request.reqType == FREQ_SAVE) return output.string();
      return std::nullopt;
    });
    host::PluginModule module(VELMORA_MODULE_PATH);
    module.RunGeneric("Export to DFF v0.1", host.global());
    EXPECT_EQ(host.messages().size(), 1u);
    for (const host::Message& message : host.messages()) {
      EXPECT_EQ(message.line1, "Export successful") << input;
    }
    return testsupport::ReadFileBytes(output);
  }

  // Both saves of the object, bare and under the example's scene, give
  // the same DFFs.
  void ExpectSameExports(const host::Lwo2Object& object, host::Lwo3Material material) {
    const fs::path lwo2 = folder_ / "two.lwo";
    const fs::path lwo3 = folder_ / "three.lwo";
    host::WriteLwo2File(object, lwo2.string());
    host::WriteLwo3File(object, lwo3.string(), material);
    const std::vector<std::uint8_t> bare = Export(lwo2);
    ASSERT_FALSE(bare.empty());
    EXPECT_EQ(Export(lwo3), bare);

    const std::vector<std::uint8_t> scene2 = Export(WriteScene("two.lws", "two.lwo"));
    ASSERT_FALSE(scene2.empty());
    EXPECT_EQ(Export(WriteScene("three.lws", "three.lwo")), scene2);
  }

  fs::path WriteScene(const std::string& name, const std::string& object) {
    std::string text = scene_;
    for (std::size_t at = text.find("buggy.lwo"); at != std::string::npos; at = text.find("buggy.lwo", at)) {
      text.replace(at, 9, object);
    }
    const fs::path path = folder_ / name;
    testsupport::WriteFileBytes(path, std::vector<std::uint8_t>(text.begin(), text.end()));
    return path;
  }

  fs::path folder_;
  host::Lwo2Object buggy_;
  std::string scene_;
};

TEST_F(SameModel, StandardMaterialsExportAsTheirLwo2Save) {
  ExpectSameExports(buggy_, host::Lwo3Material::kStandard);
}

TEST_F(SameModel, PrincipledMaterialsExportAsTheirLwo2Save) {
  host::Lwo2Object object = buggy_;
  for (host::Lwo2Surface& surface : object.surfaces) {
    std::vector<host::Lwo2TextureLayer> images;
    for (const host::Lwo2TextureLayer& layer : surface.colorLayers) {
      if (layer.type == host::TextureLayerType::kImage) images.push_back(layer);
    }
    surface.colorLayers = images;
  }
  ExpectSameExports(object, host::Lwo3Material::kPrincipled);
}

}  // namespace
