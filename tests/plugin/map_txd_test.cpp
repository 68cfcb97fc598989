// The texture dictionary the map module writes beside its DFF, from the
// scene's images: what it holds, and what the user hears of an image that
// is missing or damaged, or of a dictionary that cannot be written.
#include <gtest/gtest.h>

#include <algorithm>

#include "tests/plugin/map_fixture.h"
#include "tests/support/test_images.h"

namespace plugin::testing {
namespace {

using host::MessageKind;

// One triangle each on "Brick" (a sound PNG), "Glass" (an image whose file
// is missing) and "Moss" (a file that is no image), in `folder`.
host::Scene TexturedScene(const fs::path& folder) {
  host::Mesh mesh = SeparateTriangles(3, "Brick");
  mesh.polygons[1].surface = "Glass";
  mesh.polygons[2].surface = "Moss";
  std::vector<host::Surface> surfaces;
  const char* names[] = {"Brick", "Glass", "Moss"};
  const char* files[] = {"brick.png", "glass.tga", "moss.png"};
  host::Scene scene = SceneOf({{"house", mesh}}, {});
  for (int i = 0; i < 3; ++i) {
    host::Surface surface = NamedSurface(names[i]);
    surface.colorTexture = i;
    scene.objectFiles[0].surfaces.push_back(surface);
    scene.textures.push_back(host::Texture{{{host::TextureLayerType::kImage, i}}});
    scene.images.push_back({files[i], (folder / files[i]).string()});
  }
  const std::vector<std::uint8_t> png = testsupport::EncodeImageFile(testsupport::TestPattern(64, 64), "png");
  WriteBytes(folder / "brick.png", std::string(png.begin(), png.end()));
  WriteBytes(folder / "moss.png", "not an image");
  return scene;
}

TEST_F(MapExportTest, TheTxdHoldsTheModelsTexturesAndNamesEachImageLeftOut) {
  host::StandInHost host(TexturedScene(dir_));
  Answer(dir_ / "house.dff");
  RunMap(host);

  ReadSound(dir_ / "house.dff");
  const dffinfo::Inspection txd = dffinfo::Inspect(ReadFileBytes(dir_ / "house.txd"));
  EXPECT_TRUE(txd.sound());
  ASSERT_EQ(txd.dictionaries.size(), 1u);
  ASSERT_EQ(txd.dictionaries[0].textures.size(), 1u);
  const dffinfo::NativeTextureRecord& brick = txd.dictionaries[0].textures[0];
  EXPECT_EQ(brick.name, "brick");
  EXPECT_EQ(brick.width, 64u);
  EXPECT_EQ(brick.levelCount, 7u) << "mip levels down to 1 x 1";
  EXPECT_TRUE(brick.compressed()) << "an opaque image is compressed";

  std::vector<std::string> leftOut;
  for (const host::Message& message : host.messages()) {
    if (message.kind == MessageKind::kWarning && message.line1.rfind("Left out of the TXD", 0) == 0) {
      leftOut.push_back(message.line1);
    }
  }
  ASSERT_EQ(leftOut.size(), 2u);
  EXPECT_NE(leftOut[0].find("\"glass\""), std::string::npos) << leftOut[0];
  EXPECT_NE(leftOut[0].find("glass.tga, which is not there"), std::string::npos) << leftOut[0];
  EXPECT_NE(leftOut[1].find("moss.png"), std::string::npos) << leftOut[1];
  EXPECT_EQ(host.messages().back().kind, MessageKind::kInfo);
  EXPECT_EQ(host.messages().back().line1,
            "Wrote house.dff (1 geometry, no vertex colours), house.txd (1 texture) and house.col (3 faces, "
            "2 surfaces). The scene has no collision item, so the visible triangles are the collision, with "
            "DEFAULT on the 2 faces whose surface names no surface type.");
}

// The scene names its images where they no longer are, as a scene made on
// another machine does; the images sit where people keep them, in a
// textures folder beside the object's.
TEST_F(MapExportTest, ImagesAreFoundInTheUsualFoldersBesideTheObjectsFolder) {
  fs::create_directories(dir_ / "stored");
  host::Scene scene = TexturedScene(dir_ / "stored");
  scene.objectFiles[0].filename = (dir_ / "car" / "models" / "house.lwo").string();
  fs::create_directories(dir_ / "car" / "models");
  fs::create_directories(dir_ / "car" / "textures");
  fs::rename(dir_ / "stored" / "brick.png", dir_ / "car" / "textures" / "brick.png");
  host::StandInHost host(scene);
  Answer(dir_ / "house.dff");
  RunMap(host);

  const dffinfo::Inspection txd = dffinfo::Inspect(ReadFileBytes(dir_ / "house.txd"));
  ASSERT_EQ(txd.dictionaries.size(), 1u);
  ASSERT_EQ(txd.dictionaries[0].textures.size(), 1u);
  EXPECT_EQ(txd.dictionaries[0].textures[0].name, "brick");

  const auto glass = std::find_if(host.messages().begin(), host.messages().end(), [](const host::Message& m) {
    return m.line1.find("no image for \"glass\"") != std::string::npos;
  });
  ASSERT_NE(glass, host.messages().end());
  EXPECT_NE(glass->line1.find("places beside the object were tried too, the first 3:\n  " +
                              (dir_ / "car" / "models" / "glass").string() + ".(png|"),
            std::string::npos)
      << glass->line1;
  EXPECT_LE(std::count(glass->line1.begin(), glass->line1.end(), '\n'), 5) << "a few lines, not every place";
}

TEST_F(MapExportTest, ATxdThatCannotBeWrittenIsAnErrorThatSaysTheDffWas) {
  fs::create_directories(dir_ / "house.txd" / "in the way");
  host::StandInHost host(TexturedScene(dir_));
  Answer(dir_ / "house.dff");
  RunMap(host);

  EXPECT_TRUE(fs::is_regular_file(dir_ / "house.dff"));
  EXPECT_TRUE(fs::is_directory(dir_ / "house.txd"));
  const host::Message& last = host.messages().back();
  EXPECT_EQ(last.kind, MessageKind::kError);
  EXPECT_NE(last.line1.find("The TXD file " + (dir_ / "house.txd").string() + " was not written"), std::string::npos)
      << last.line1;
  EXPECT_EQ(last.line2.value_or(""), "house.dff was written.");
}

}  // namespace
}  // namespace plugin::testing
