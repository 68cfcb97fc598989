// The files the import names after the game's names: Windows' device names
// kept off file names and given back by the export, and the dictionary's
// textures found for materials without regard to case.
#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include <unistd.h>

#include "dff_inspect/inspect.h"
#include "import_scene/file_names.h"
#include "import_scene/image_names.h"
#include "import_scene/lightwave_files.h"
#include "platform/device_names.h"
#include "tests/support/files_and_programs.h"

namespace {
namespace fs = std::filesystem;

TEST(DeviceNames, WindowsDevicesInAnyCaseWithAnyExtensionOrSpacesBeforeIt) {
  for (const char* device : {"con", "CON", "Prn", "aux", "nul", "com1", "COM9", "lpt1", "LPT0", "conin$", "CONOUT$",
                             "con.png", "nul.tar.gz", "aux .tga", "con..png", "com\xC2\xB9"}) {
    EXPECT_TRUE(platform::NamesDevice(device)) << device;
  }
  for (const char* file : {"", "cone", "con_", "_con", "com", "com10", "lpt", "icon.png", "nul_.png", "a.con"}) {
    EXPECT_FALSE(platform::NamesDevice(file)) << file;
  }
}

TEST(DeviceNames, EveryNameGetsAFileOfItsOwnAndComesBackFromIt) {
  const std::vector<std::string> names = {"con", "CON", "_con", "__con", "con_", "con.tga", "nul ", "lpt1.",
                                          "wheel", "_wheel", "_", "com10"};
  std::set<std::string> stems;
  for (const std::string& name : names) {
    const std::string stem = platform::DeviceSafeStem(name);
    EXPECT_FALSE(platform::NamesDevice(stem + ".png")) << name;
    EXPECT_TRUE(stems.insert(stem).second) << name << " shares the file stem " << stem;
    EXPECT_EQ(platform::NameOfStem(stem), name);
    EXPECT_EQ(platform::TextureNameOfImage(stem + ".png"), name);
  }
  EXPECT_EQ(platform::DeviceSafeStem("con"), "_con");
  EXPECT_EQ(platform::DeviceSafeStem("_con"), "__con");
  EXPECT_EQ(platform::DeviceSafeStem("wheel"), "wheel");
  EXPECT_EQ(platform::TextureNameOfImage("_wheel.png"), "_wheel");
}

TEST(FileNames, DeviceNamesAndUnsafeCharactersBecomeFilesThatStayApartWithoutRegardToCase) {
  import_scene::FileNames names;
  EXPECT_EQ(names.Claim("con", ".png"), "_con.png");
  EXPECT_EQ(names.Claim("CON", ".png"), "_CON_2.png");
  EXPECT_EQ(names.Claim("_con", ".png"), "__con.png");
  EXPECT_EQ(names.Claim("aux.tga", ".png"), "_aux.tga.png");
  EXPECT_EQ(names.Claim("nul:", ".lwo"), "nul_.lwo");
  EXPECT_EQ(names.Claim("..", ".lwo"), "_.lwo");
}

import::Texture Texel(const std::string& name, std::uint8_t red) { return {name, "", 1, 1, {red, 0, 0, 255}}; }

TEST(ImageNames, TexturesAreFoundWithoutRegardToCaseTheFirstOfLikeNamesWinning) {
  const std::vector<import::Texture> dictionary = {Texel("Wheel", 1), Texel("WHEEL", 2), Texel("con", 3)};
  import_scene::ImageNames images(dictionary);
  std::vector<std::string> warnings;
  EXPECT_EQ(images.PathOf("wheel", warnings), "images/wheel.png");
  // Another spelling is another material's texture name: a file of its own,
  // the same image, and a warning since the export writes the file's name.
  EXPECT_EQ(images.PathOf("wHeel", warnings), "images/wHeel_2.png");
  EXPECT_EQ(images.PathOf("wheel", warnings), "images/wheel.png");
  ASSERT_EQ(warnings.size(), 1u);
  EXPECT_NE(warnings[0].find("\"wHeel\" is written as wHeel_2.png"), std::string::npos) << warnings[0];
  // A device name needs no warning: the export gives the name back.
  EXPECT_EQ(images.PathOf("CON", warnings), "images/_CON.png");
  EXPECT_EQ(images.PathOf("missing", warnings), "images/missing.png");
  EXPECT_EQ(warnings.size(), 1u);

  const auto& named = images.named();
  ASSERT_EQ(named.size(), 4u);
  EXPECT_EQ(named.at("wheel").second, &dictionary[0]);
  EXPECT_EQ(named.at("wHeel").second, &dictionary[0]);
  EXPECT_EQ(named.at("CON").second, &dictionary[2]);
  EXPECT_EQ(named.at("missing").second, nullptr);
}

// A model whose frames and textures carry device names, imported into a
// folder and exported again by the first command through lwhost.
class DeviceNamedModel : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("velmora-device-names-" + std::to_string(::getpid()));
    fs::remove_all(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }

  fs::path dir_;
};

TEST_F(DeviceNamedModel, TexturesNamedAsDevicesComeBackUnderTheirOwnNames) {
  import::Model model;
  model.frames.push_back({});
  model.frames[0].name = "body";
  import::Geometry geometry;
  geometry.positions = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {1, 1, 0}};
  geometry.uvSets = {{{0, 0}, {1, 0}, {0, 1}, {1, 1}}};
  geometry.triangles = {{{0, 1, 2}, 0}, {{1, 3, 2}, 1}};
  geometry.materials.resize(2);
  geometry.materials[0].texture = "con";
  geometry.materials[1].texture = "_lpt1";
  model.geometries = {geometry};
  model.atomics = {{0, 0}};
  model.textures = {Texel("con", 10), Texel("_lpt1", 20)};

  const import_scene::SceneFiles files = import_scene::ToLightWave(model, "nul");
  EXPECT_TRUE(files.warnings.empty()) << files.warnings.front();
  ASSERT_EQ(import_scene::WriteSceneFiles(files, (dir_ / "imported").string()), "");
  EXPECT_TRUE(fs::exists(dir_ / "imported/images/_con.png"));
  EXPECT_TRUE(fs::exists(dir_ / "imported/images/__lpt1.png"));
  EXPECT_TRUE(fs::exists(dir_ / "imported/_nul.lws"));

  const testsupport::ProgramResult result =
      testsupport::RunInFolder(dir_, "'" LWHOST_PATH "' imported/_nul.lws -o again.dff");
  ASSERT_EQ(result.status, 0) << result.err;
  const dffinfo::Inspection inspection = dffinfo::Inspect(testsupport::ReadFileBytes(dir_ / "again.dff"));
  ASSERT_EQ(inspection.clumps.size(), 1u);
  ASSERT_EQ(inspection.clumps[0].geometries.size(), 1u);
  const auto& materials = inspection.clumps[0].geometries[0].materialList->materials;
  ASSERT_EQ(materials.size(), 2u);
  EXPECT_EQ(materials[0].texture->name, "con");
  EXPECT_EQ(materials[1].texture->name, "_lpt1");
}

}  // namespace
