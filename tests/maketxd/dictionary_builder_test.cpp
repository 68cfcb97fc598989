// Building a dictionary's textures: what is refused, what is left out, and
// what each message tells the user.
#include <gtest/gtest.h>

#include <unistd.h>

#include <map>

#include "tests/support/files_and_programs.h"

#include "tests/support/test_images.h"
#include "txd_build/dictionary_builder.h"

namespace txdbuild {
namespace {

namespace fs = std::filesystem;

// Images held in memory and written on demand, so a test says only which
// names have which bytes.
class FakeImages {
 public:
  explicit FakeImages(fs::path folder) : folder_(std::move(folder)) { fs::create_directories(folder_); }
  ~FakeImages() { fs::remove_all(folder_); }

  void Add(const std::string& name, const std::vector<std::uint8_t>& bytes) {
    const fs::path file = folder_ / (name + ".png");
    testsupport::WriteFileBytes(file, bytes);
    files_[name] = file;
  }

  ImageLookup Lookup() const {
    return {[this](const std::string& name) -> std::optional<fs::path> {
              const auto found = files_.find(name);
              if (found == files_.end()) return std::nullopt;
              return found->second;
            },
            [](const std::string& name) { return "searched the test's images for " + name; }};
  }

 private:
  fs::path folder_;
  std::map<std::string, fs::path> files_;
};

std::vector<std::uint8_t> Png(std::uint32_t w, std::uint32_t h, std::uint8_t alpha = 255) {
  return testsupport::EncodeImageFile(testsupport::TestPattern(w, h, alpha), "png");
}

TextureUse Use(std::string name, std::string mask = "") {
  return TextureUse{std::move(name), std::move(mask), "material 3 of geometry 1 (here)"};
}

fs::path Folder(const char* test) {
  return fs::temp_directory_path() / (std::string("maketxd-builder-") + test + "-" + std::to_string(::getpid()));
}

TEST(BuildDictionary, MakesOneTextureForEachUseInOrder) {
  FakeImages images(Folder("order"));
  images.Add("tyre", Png(64, 64));
  images.Add("glass", Png(32, 16, 100));
  const DictionaryBuild build = BuildDictionary({Use("tyre"), Use("glass")}, images.Lookup(), {});
  EXPECT_TRUE(build.errors.empty());
  EXPECT_TRUE(build.missing.empty());
  ASSERT_EQ(build.textures.size(), 2u);
  EXPECT_EQ(build.textures[0].name, "tyre");
  EXPECT_EQ(build.textures[0].d3dFormat, txd::kD3dDxt1);
  EXPECT_EQ(build.textures[1].name, "glass");
  EXPECT_EQ(build.textures[1].d3dFormat, txd::kD3dDxt5);
  EXPECT_EQ(build.textures[1].width, 32);
  EXPECT_EQ(build.textures[1].height, 16);
}

TEST(BuildDictionary, ReportsEveryProblemNamingTheMaterialOrTheFile) {
  FakeImages images(Folder("problems"));
  images.Add("good", Png(8, 8));
  std::vector<std::uint8_t> cut = Png(64, 64);
  cut.resize(cut.size() / 3);
  images.Add("cut", cut);
  images.Add("body", Png(8, 8));
  const std::string longName(32, 'x');
  const DictionaryBuild build = BuildDictionary(
      {Use(longName), Use("absent"), Use("cut"), Use("good"), Use("body", "bodymask")}, images.Lookup(), {});

  ASSERT_EQ(build.errors.size(), 2u);
  EXPECT_NE(build.errors[0].find("\"" + longName + "\" of material 3 of geometry 1"), std::string::npos)
      << build.errors[0];
  EXPECT_NE(build.errors[0].find("at most 31"), std::string::npos);
  EXPECT_NE(build.errors[1].find("cut.png: "), std::string::npos) << build.errors[1];

  ASSERT_EQ(build.missing.size(), 2u);
  EXPECT_NE(build.missing[0].find("\"absent\" (material 3"), std::string::npos) << build.missing[0];
  EXPECT_NE(build.missing[0].find("searched the test's images for absent"), std::string::npos);
  EXPECT_NE(build.missing[1].find("\"bodymask\""), std::string::npos) << build.missing[1];

  ASSERT_EQ(build.textures.size(), 1u);  // a texture whose mask is missing is left out too
  EXPECT_EQ(build.textures[0].name, "good");
}

TEST(BuildDictionary, RefusesMaskNamesThatDoNotFit) {
  FakeImages images(Folder("mask"));
  images.Add("grille", Png(8, 8));
  const DictionaryBuild build =
      BuildDictionary({Use("grille", std::string(40, 'm'))}, images.Lookup(), {});
  ASSERT_EQ(build.errors.size(), 1u);
  EXPECT_NE(build.errors[0].find("mask name"), std::string::npos) << build.errors[0];
  EXPECT_TRUE(build.textures.empty());
}

// Models that use one image share its texture: the second dictionary
// takes the first one's texture without reading the image again, while a
// texture that could not be built is each dictionary's own problem.
TEST(BuildDictionary, SharedTexturesAreBuiltOnceAndProblemsReportedForEveryModel) {
  FakeImages images(Folder("shared"));
  images.Add("wall", Png(64, 32));
  std::vector<std::uint8_t> cut = Png(64, 64);
  cut.resize(cut.size() / 3);
  images.Add("cut", cut);
  SharedTextures shared;
  const DictionaryBuild first = BuildDictionary({Use("wall"), Use("cut"), Use("absent")}, images.Lookup(), {}, &shared);
  ASSERT_EQ(first.textures.size(), 1u);

  // The image now names other texels: a texture built again would differ.
  images.Add("wall", Png(8, 8));
  TextureUse again = Use("wall");
  again.material = "material 0 of geometry 0 (another model)";
  const DictionaryBuild second = BuildDictionary({again, Use("cut"), Use("absent")}, images.Lookup(), {}, &shared);
  ASSERT_EQ(second.textures.size(), 1u);
  EXPECT_EQ(second.textures[0].width, first.textures[0].width);
  EXPECT_EQ(second.textures[0].levels, first.textures[0].levels);
  EXPECT_EQ(second.errors.size(), 1u);
  EXPECT_EQ(second.missing.size(), 1u);

  // Spelled otherwise, it is another texture of the dictionary's, built anew.
  const DictionaryBuild spelled = BuildDictionary({Use("WALL")}, [&] {
    ImageLookup lookup = images.Lookup();
    return ImageLookup{[find = lookup.find](const std::string&) { return find("wall"); }, lookup.describeSearch};
  }(), {}, &shared);
  ASSERT_EQ(spelled.textures.size(), 1u);
  EXPECT_EQ(spelled.textures[0].name, "WALL");
  EXPECT_EQ(spelled.textures[0].width, 8u);
}

}  // namespace
}  // namespace txdbuild
