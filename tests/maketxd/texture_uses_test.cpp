// The textures collected from a model, and where their images are found.
#include <gtest/gtest.h>
#include <unistd.h>

#include "tests/maketxd/model_files.h"
#include "dff_inspect/inspect.h"
#include "txd_build/image_folders.h"
#include "txd_build/texture_uses.h"

namespace txdbuild {
namespace {

using maketxd::testing::ModelUsing;
namespace testing = maketxd::testing;

TEST(CollectTextureUses, TakesTexturesMasksAndEnvironmentMapsOnceEach) {
  const std::vector<TextureUse> uses =
      CollectTextureUses(dffinfo::Inspect(ModelUsing("Body", "envmap", "bodym")));
  ASSERT_EQ(uses.size(), 2u);
  EXPECT_EQ(uses[0].name, "Body");
  EXPECT_EQ(uses[0].mask, "bodym");
  EXPECT_NE(uses[0].material.find("material 0 of geometry 0"), std::string::npos) << uses[0].material;
  EXPECT_EQ(uses[1].name, "envmap");

  // The game finds "body" and "BODY" alike: one texture serves both.
  EXPECT_EQ(CollectTextureUses(dffinfo::Inspect(ModelUsing("body", "BODY"))).size(), 1u);
}

TEST(ImageFolders, FindsAnyCaseOfNameAndExtensionInFolderOrder) {
  const std::filesystem::path root = testing::ScratchFolder("folders");
  std::filesystem::create_directories(root / "first");
  std::filesystem::create_directories(root / "second");
  testing::WriteImage(root / "second" / "Paint.TGA", 4, 4);
  testing::WriteImage(root / "second" / "glass.png", 4, 4);
  testing::WriteImage(root / "first" / "GLASS.bmp", 4, 4);
  testing::WriteImage(root / "first" / "glass.jpg.txt", 4, 4);
  testing::WriteImage(root / "first" / "decal.bmp", 4, 4);
  testing::WriteImage(root / "first" / "decal.png", 4, 4);

  const ImageFolders folders({root / "first", root / "second", root / "first", root / "absent"});
  EXPECT_EQ(folders.folders().size(), 3u);
  EXPECT_EQ(folders.Find("paint"), root / "second" / "Paint.TGA");
  EXPECT_EQ(folders.Find("glass"), root / "first" / "GLASS.bmp");   // the first folder wins
  EXPECT_EQ(folders.Find("decal"), root / "first" / "decal.png");   // png before bmp
  EXPECT_FALSE(folders.Find("glass.jpg"));
  EXPECT_FALSE(folders.Find("tyre"));
  std::filesystem::remove_all(root);
}

}  // namespace
}  // namespace txdbuild
