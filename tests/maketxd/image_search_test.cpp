// Where a texture's image is found: the stored path first, then the named
// folders, the model's folder, and the usual image folders around it.
#include <gtest/gtest.h>
#include <unistd.h>

#include "tests/maketxd/model_files.h"
#include "txd_build/image_search.h"

namespace txdbuild {
namespace {

namespace fs = std::filesystem;
namespace testing = maketxd::testing;

TEST(UsualImageFolders, RunFromTheModelsFolderUpToTheContentDirectory) {
  const fs::path content = testing::ScratchFolder("usual");
  const fs::path models = content / "car" / "models";
  const std::vector<fs::path> folders = UsualImageFolders({models}, content);
  ASSERT_EQ(folders.size(), 3u * 6u);  // models/, car/ and the content directory
  EXPECT_EQ(folders[0], models / "Images");
  EXPECT_EQ(folders[5], models / "maps");
  EXPECT_EQ(folders[8], content / "car" / "textures");
  EXPECT_EQ(folders.back(), content / "maps");

  // Without a content directory the walk goes on to the root.
  const std::vector<fs::path> toRoot = UsualImageFolders({models}, "");
  EXPECT_GT(toRoot.size(), folders.size());
  EXPECT_EQ(toRoot.back(), models.root_path() / "maps");
  fs::remove_all(content);
}

class ImageSearchTest : public ::testing::Test {
 protected:
  void SetUp() override {
    content_ = testing::ScratchFolder("search");
    fs::create_directories(content_ / "car" / "models");
    fs::create_directories(content_ / "car" / "textures");
    fs::create_directories(content_ / "chosen");
    places_.modelFolders = {content_ / "car" / "models"};
    places_.contentDirectory = content_;
  }
  void TearDown() override { fs::remove_all(content_); }

  fs::path content_;
  ImageSearchPlaces places_;
};

// The case users met: the object in models/, its image in the sibling
// textures/ folder.
TEST_F(ImageSearchTest, FindsAnImageInTheFolderBesideTheModels) {
  testing::WriteImage(content_ / "car" / "textures" / "Road-StraightTex1A.PNG", 4, 4);
  const ImageSearch search(places_);
  EXPECT_EQ(search.Find("road-straighttex1a"), content_ / "car" / "textures" / "Road-StraightTex1A.PNG");
  EXPECT_FALSE(search.Find("kerb"));
}

// A texture named as a Windows device comes from the image the export
// named it after: "con" from "_con.png", never from a device.
TEST_F(ImageSearchTest, ADeviceNamedTextureIsFoundInItsUnderscoredImage) {
  testing::WriteImage(content_ / "car" / "textures" / "_con.png", 4, 4);
  const ImageSearch search(places_);
  EXPECT_EQ(search.Find("con"), content_ / "car" / "textures" / "_con.png");
  EXPECT_FALSE(search.Find("_con"));
}

TEST_F(ImageSearchTest, TheStoredPathThenTheNamedFoldersComeFirst) {
  testing::WriteImage(content_ / "car" / "textures" / "paint.png", 4, 4);
  testing::WriteImage(content_ / "chosen" / "paint.tga", 4, 4);
  testing::WriteImage(content_ / "car" / "models" / "paint.bmp", 4, 4);
  places_.imageFolders = {content_ / "chosen"};
  EXPECT_EQ(ImageSearch(places_).Find("paint"), content_ / "chosen" / "paint.tga");

  testing::WriteImage(content_ / "stored.png", 4, 4);
  places_.storedFiles["paint"] = "Macintosh HD:Users/maker/stored.png";
  places_.storedSearch.contentDirectory = content_.string();
  EXPECT_EQ(ImageSearch(places_).Find("Paint"), content_ / "stored.png");

  places_.imageFolders.clear();
  places_.storedFiles.clear();
  EXPECT_EQ(ImageSearch(places_).Find("paint"), content_ / "car" / "models" / "paint.bmp");
}

TEST_F(ImageSearchTest, AMissingImageIsReportedInAFewLinesOrInFull) {
  places_.storedFiles["tyre"] = "C:\\work\\car\\tyre.png";
  const ImageSearch search(places_);
  const std::vector<std::string> places = search.Places("tyre");
  ASSERT_GT(places.size(), 20u);
  EXPECT_EQ(places.back(), (content_ / "maps" / "tyre").string() + ".(png|tga|jpg|jpeg|bmp)");

  const std::string brief = search.Lookup(false).describeSearch("tyre");
  EXPECT_NE(brief.find("stored as C:\\work\\car\\tyre.png"), std::string::npos) << brief;
  EXPECT_NE(brief.find(std::to_string(places.size()) + " places tried"), std::string::npos) << brief;
  EXPECT_NE(brief.find(places[2]), std::string::npos) << brief;
  EXPECT_EQ(brief.find(places[3]), std::string::npos) << brief;
  EXPECT_NE(brief.find("--images"), std::string::npos) << brief;
  EXPECT_LE(std::count(brief.begin(), brief.end(), '\n'), 6);

  const std::string full = search.Lookup(true).describeSearch("tyre");
  for (const std::string& place : places) EXPECT_NE(full.find(place), std::string::npos) << place;
}

}  // namespace
}  // namespace txdbuild
