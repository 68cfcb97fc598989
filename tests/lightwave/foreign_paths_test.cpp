// Scenes and objects made on another machine name their files by that
// machine's absolute paths; the loader finds them where a user keeps them.
#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "host/lightwave_files.h"
#include "lightwave/lwo2_writer.h"
#include "lightwave/file_search.h"
#include "lightwave/lws_writer.h"
#include "sample_files.h"

namespace host {
namespace {

namespace fs = std::filesystem;
using lwfiles_test::ScratchFolder;

// As a scene from a public project stores it: the maker's msys home.
constexpr char kForeignTeddy[] = "C:msys/1.0/home/maker/Programs/Data/lwo/Teddy.lwo";
constexpr char kForeignFur[] = "C:\\msys\\1.0\\home\\maker\\Programs\\Data\\images\\fur.tga";

std::string SceneNaming(const ScratchFolder& folder, const std::string& scenePath, const std::string& objectPath) {
  LwsWriterItem item;
  item.objectPath = objectPath;
  return folder.Write(scenePath, WriteLws({item}));
}

std::vector<std::uint8_t> TeddyWithFur() {
  Lwo2Object teddy = lwfiles_test::CubeObject();
  teddy.clips.push_back({1, kForeignFur});
  return WriteLwo2(teddy);
}

std::string Normal(const fs::path& path) { return path.lexically_normal().generic_string(); }

TEST(ForeignPaths, TheLongestTrailingPartThatExistsWins) {
  // The project as unpacked here: Data/scenes/teddy.lws beside Data/lwo/.
  ScratchFolder folder;
  const fs::path data = folder.path() / "Programs/Data";
  folder.Write("Programs/Data/lwo/Teddy.lwo", TeddyWithFur());
  // A file of the same name nearer the scene is not the one meant.
  folder.Write("Programs/Data/scenes/Teddy.lwo", WriteLwo2(lwfiles_test::CubeObject()));
  const std::string scene = SceneNaming(folder, "Programs/Data/scenes/teddy.lws", kForeignTeddy);

  const Scene loaded = LoadSceneFile(scene);
  EXPECT_EQ(Normal(loaded.objectFiles.at(0).filename), Normal(data / "lwo/Teddy.lwo"));
  EXPECT_EQ(loaded.items.at(0).name, "Teddy");
}

TEST(ForeignPaths, ContentDirectoryFirstThenItsObjectsFolder) {
  ScratchFolder folder;
  const std::string scene = SceneNaming(folder, "Scenes/teddy.lws", kForeignTeddy);
  folder.Write("content/Objects/Teddy.lwo", TeddyWithFur());
  LoadOptions options;
  options.contentDirectory = (folder.path() / "content").string();
  EXPECT_EQ(Normal(LoadSceneFile(scene, options).objectFiles.at(0).filename),
            Normal(folder.path() / "content/Objects/Teddy.lwo"))
      << "the kind folder is the last place, and the only one that holds it";

  // Found both in the content directory and beside the scene: the content
  // directory is searched first for every part.
  folder.Write("content/lwo/Teddy.lwo", TeddyWithFur());
  folder.Write("Scenes/lwo/Teddy.lwo", TeddyWithFur());
  EXPECT_EQ(Normal(LoadSceneFile(scene, options).objectFiles.at(0).filename),
            Normal(folder.path() / "content/lwo/Teddy.lwo"));
  EXPECT_EQ(Normal(LoadSceneFile(scene).objectFiles.at(0).filename), Normal(folder.path() / "Scenes/lwo/Teddy.lwo"));
}

TEST(ForeignPaths, AMissingObjectListsEveryPlaceInOrder) {
  ScratchFolder folder;
  const std::string scene = SceneNaming(folder, "Data/scenes/teddy.lws", kForeignTeddy);
  LoadOptions options;
  options.contentDirectory = (folder.path() / "content").string();
  std::string error;
  try {
    LoadSceneFile(scene, options);
  } catch (const LoadError& e) {
    error = e.what();
  }
  ASSERT_NE(error.find("the object file '" + std::string(kForeignTeddy) + "' was not found; tried:"),
            std::string::npos)
      << error;
  const fs::path scenes = folder.path() / "Data/scenes";
  std::size_t previous = 0;
  for (const fs::path& place : {folder.path() / "content/Data/lwo/Teddy.lwo", scenes / "Data/lwo/Teddy.lwo",
                                scenes / "../Data/lwo/Teddy.lwo", scenes / "../../Data/lwo/Teddy.lwo",
                                fs::path("/Data/lwo/Teddy.lwo"), folder.path() / "content/lwo/Teddy.lwo",
                                scenes / "Teddy.lwo", folder.path() / "content/Objects/Teddy.lwo"}) {
    const std::size_t at = error.find("\n  " + Normal(place) + "\n");
    ASSERT_NE(at, std::string::npos) << Normal(place) << " in\n" << error;
    EXPECT_GT(at, previous) << Normal(place) << " comes after the place listed before it";
    previous = at;
  }
  EXPECT_NE(error.find("\nplace it there, or give the content directory"), std::string::npos);
}

TEST(ForeignPaths, ImagesAreFoundLikeObjectsAndKeepTheirPathWhenMissing) {
  ScratchFolder folder;
  const std::string teddy = folder.Write("Programs/Data/lwo/Teddy.lwo", TeddyWithFur());
  const std::string scene = SceneNaming(folder, "Programs/Data/scenes/teddy.lws", "../lwo/Teddy.lwo");

  const Scene unfound = LoadSceneFile(scene);
  ASSERT_EQ(unfound.images.size(), 1u);
  EXPECT_EQ(unfound.images[0].filename, kForeignFur);
  EXPECT_EQ(unfound.images[0].name, "fur.tga");

  folder.Write("Programs/Data/images/fur.tga", std::string("not read: only found"));
  const std::string fur = Normal(folder.path() / "Programs/Data/images/fur.tga");
  const Scene fromScene = LoadSceneFile(scene);
  EXPECT_EQ(Normal(fromScene.images.at(0).filename), fur);
  EXPECT_EQ(fromScene.images[0].name, "fur.tga") << "the texture is still named by the stored name";
  EXPECT_EQ(Normal(LoadSceneFile(teddy).images.at(0).filename), fur) << "a bare object searches from its folder";

  // Layout's Images/ folder in the content directory is the last place.
  ScratchFolder elsewhere;
  const std::string alone = elsewhere.Write("objects/Teddy.lwo", TeddyWithFur());
  elsewhere.Write("content/Images/fur.tga", std::string("image"));
  LoadOptions options;
  options.contentDirectory = (elsewhere.path() / "content").string();
  EXPECT_EQ(Normal(LoadSceneFile(alone, options).images.at(0).filename),
            Normal(elsewhere.path() / "content/Images/fur.tga"));
}

TEST(FileCandidates, PartsOfAStoredPath) {
  const FileSearch search{"", "scenes", "Objects"};
  // A relative naming folder stays relative; a POSIX absolute path is tried as it is first.
  const std::vector<std::string> posix = FileCandidates("/old/box.lwo", search);
  ASSERT_GE(posix.size(), 4u);
  EXPECT_EQ(posix[0], "/old/box.lwo");
  EXPECT_EQ(posix[1], "scenes/old/box.lwo");
  EXPECT_EQ(posix[2], "old/box.lwo");
  EXPECT_EQ(posix[3], "../old/box.lwo");

  // Doubled and trailing separators make no empty parts; a bare drive or an
  // empty path gives nothing to look for.
  for (const std::string& candidate : FileCandidates("Q:models//cars/", search)) {
    EXPECT_EQ(candidate.find("//"), std::string::npos) << candidate;
    EXPECT_NE(candidate.find("cars"), std::string::npos) << candidate;
  }
  EXPECT_TRUE(FileCandidates("", search).empty());
  EXPECT_TRUE(FileCandidates("C:", search).empty());
  EXPECT_TRUE(FileCandidates("C:\\\\", search).empty());
}

TEST(FileCandidates, AVeryDeepPathTriesOnlyItsLastParts) {
  std::string deep = "C:";
  for (int i = 0; i < 5000; ++i) deep += "\\d";
  deep += "\\box.lwo";
  const FileSearch search{"/content", "/scenes", "Objects"};
  const std::vector<std::string> candidates = FileCandidates(deep, search);
  // Each part under the content directory, /scenes and /, then the kind folder.
  EXPECT_EQ(candidates.size(), kMostTrailingParts * 3 + kMostTrailingParts);
  EXPECT_EQ(candidates.back(), "/content/Objects/box.lwo");
}

}  // namespace
}  // namespace host
