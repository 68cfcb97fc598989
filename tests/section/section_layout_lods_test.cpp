// "Export map section" as Layout runs it, through the stand-in host and
// the real module: it builds LOD models unless VELMORA_SECTION_MAKE_LODS
// is "0", and a value it cannot read is an error that names the variable.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include <unistd.h>

#include "host/lightwave_files.h"
#include "host/module_loader.h"
#include "host/standin_host.h"
#include "lightwave/lwo2_writer.h"
#include "lightwave/lws_writer.h"
#include "section/map_text.h"
#include "tests/support/files_and_programs.h"

namespace {
namespace fs = std::filesystem;

// A flat plate 40 m across in 8 x 8 quads: large enough for a LOD.
host::Lwo2Object Plate() {
  host::Lwo2Layer layer;
  for (int row = 0; row <= 8; ++row) {
    for (int column = 0; column <= 8; ++column) {
      layer.mesh.points.push_back({5.0f * static_cast<float>(column) - 20.0f, 0.0f, 5.0f * static_cast<float>(row) - 20.0f});
    }
  }
  for (int row = 0; row < 8; ++row) {
    for (int column = 0; column < 8; ++column) {
      const int at = row * 9 + column;
      layer.mesh.polygons.push_back(host::Polygon{0x46414345u, {at, at + 9, at + 10, at + 1}, "plate"});
    }
  }
  host::Lwo2Object object;
  object.layers.push_back(layer);
  host::Lwo2Surface surface;
  surface.name = "plate";
  object.surfaces.push_back(surface);
  return object;
}

class SectionInLayout : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = fs::temp_directory_path() / ("velmora-section-layout-" + std::to_string(::getpid()));
    fs::remove_all(folder_);
    fs::create_directories(folder_);
    host::WriteLwo2File(Plate(), (folder_ / "plate.lwo").string());
    host::LwsWriterItem item;
    item.objectPath = "plate.lwo";
    const std::string scene = host::WriteLws({item});
    testsupport::WriteFileBytes(folder_ / "yard.lws", std::vector<std::uint8_t>(scene.begin(), scene.end()));
  }
  void TearDown() override {
    unsetenv("VELMORA_SECTION_MAKE_LODS");
    fs::remove_all(folder_);
  }

  // The messages of one export with the variable set to `value`, or unset.
  std::vector<host::Message> Export(const char* value) {
    if (value == nullptr) {
      unsetenv("VELMORA_SECTION_MAKE_LODS");
    } else {
      setenv("VELMORA_SECTION_MAKE_LODS", value, 1);
    }
    fs::remove(folder_ / "yard.ide");
    host::StandInHost host(host::LoadSceneFile((folder_ / "yard.lws").string()));
    const fs::path ide = folder_ / "yard.ide";
    host.SetFileResponder([&ide](const host::FileRequest&) { return ide.string(); });
    const host::PluginModule module(VELMORA_MAP_MODULE_PATH);
    module.RunGeneric("Export map section", host.global());
    return host.messages();
  }

  std::size_t IdeModels() {
    return section::ReadMapText(testsupport::ReadFileText(folder_ / "yard.ide")).size();
  }

  fs::path folder_;
};

TEST_F(SectionInLayout, BuildsLodModelsUnlessTheEnvironmentSaysNot) {
  std::vector<host::Message> messages = Export(nullptr);
  ASSERT_FALSE(messages.empty());
  EXPECT_NE(messages.back().line1.find("Built 1 LOD model (LODplate from plate"), std::string::npos)
      << messages.back().line1;
  EXPECT_EQ(IdeModels(), 2u);

  Export("0");
  EXPECT_EQ(IdeModels(), 1u);
  Export("1");
  EXPECT_EQ(IdeModels(), 2u);

  messages = Export("yes");
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].kind, host::MessageKind::kError);
  EXPECT_NE(messages[0].line1.find("VELMORA_SECTION_MAKE_LODS is \"yes\""), std::string::npos) << messages[0].line1;
  EXPECT_FALSE(fs::exists(folder_ / "yard.ide"));
}

}  // namespace
