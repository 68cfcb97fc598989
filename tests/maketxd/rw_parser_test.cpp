// maketxd's dictionaries read by npm rw-parser, a reader none of us wrote:
// its fields must agree with dffinfo's listing and with what was asked
// for, and its own DXT decoder must give back the source pixels within the
// error block compression costs.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <nlohmann/json.hpp>

#include "pixels/image_decoder.h"
#include "tests/maketxd/model_files.h"

namespace maketxd {
namespace {

namespace fs = std::filesystem;
using nlohmann::json;

// Root-mean-square error per colour channel, of 255.
constexpr double kMaxDxtColourError = 6.0;

class RwParser : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!fs::exists(fs::path(RW_PARSER_DIR) / "package.json") || std::system("node --version >/dev/null 2>&1") != 0) {
      GTEST_SKIP() << "npm rw-parser or node is not installed (tools/install-deps.sh tests installs them)";
    }
    root_ = testing::ScratchFolder(::testing::UnitTest::GetInstance()->current_test_info()->name());
  }
  void TearDown() override {
    if (!root_.empty()) fs::remove_all(root_);
  }

  json Run(const std::string& command) {
    const testsupport::ProgramResult run = testsupport::RunInFolder(root_, command);
    EXPECT_EQ(run.status, 0) << command << "\n" << run.err;
    return json::parse(run.out);
  }

  // maketxd over a model using `paint` and `envmap`, whose images are
  // written first; then both readers' view of the result.
  void Build(const std::string& options) {
    testsupport::WriteFileBytes(root_ / "car.dff", testing::ModelUsing("paint", "envmap"));
    const testsupport::ProgramResult made =
        testsupport::RunInFolder(root_, std::string(MAKETXD_PROGRAM) + " car.dff -o car.txd " + options);
    ASSERT_EQ(made.status, 0) << made.err;
    parsed_ = Run("node '" RW_PARSER_DUMP "' '" RW_PARSER_DIR "' car.txd");
    listed_ = Run(std::string(DFFINFO_PROGRAM) + " --json car.txd");
  }

  void ExpectReadersAgree() {
    const json& ours = listed_.at("dictionaries").at(0);
    ASSERT_EQ(parsed_.at("textureCount"), ours.at("textureCount"));
    ASSERT_EQ(parsed_.at("textures").size(), ours.at("textures").size());
    for (std::size_t i = 0; i < ours.at("textures").size(); ++i) {
      const json& theirs = parsed_.at("textures").at(i);
      const json& mine = ours.at("textures").at(i);
      SCOPED_TRACE(mine.at("name").get<std::string>());
      EXPECT_EQ(theirs.at("platformId"), 9);
      EXPECT_EQ(theirs.at("textureName"), mine.at("name"));
      EXPECT_EQ(theirs.at("maskName"), mine.at("mask"));
      EXPECT_EQ(theirs.at("width"), mine.at("width"));
      EXPECT_EQ(theirs.at("height"), mine.at("height"));
      EXPECT_EQ(theirs.at("depth"), mine.at("depth"));
      EXPECT_EQ(theirs.at("mipmapCount"), mine.at("mipmapCount"));
      EXPECT_EQ(theirs.at("rasterFormat"), mine.at("rasterFormat"));
      EXPECT_EQ(theirs.at("rasterType"), mine.at("rasterType"));
      EXPECT_EQ(theirs.at("alpha"), mine.at("alpha"));
      EXPECT_EQ(theirs.at("compressed"), mine.at("compressed"));
      EXPECT_EQ(theirs.at("filterMode"), mine.at("filter"));
      EXPECT_EQ(theirs.at("uAddressing"), mine.at("uAddressing"));
      EXPECT_EQ(theirs.at("vAddressing"), mine.at("vAddressing"));
      const std::string format = mine.at("format");
      if (format.rfind("DXT", 0) == 0) {
        EXPECT_EQ(theirs.at("d3dFormat"), format);
      }
    }
  }

  const json& Parsed(std::size_t i) { return parsed_.at("textures").at(i); }

  fs::path root_;
  json parsed_;
  json listed_;
};

double ColourError(const pixels::RgbaImage& source, const json& decoded) {
  double sum = 0;
  for (std::size_t i = 0; i < source.rgba.size(); ++i) {
    if (i % 4 == 3) continue;
    const double d = static_cast<double>(source.rgba[i]) - decoded.at(i).get<double>();
    sum += d * d;
  }
  return std::sqrt(sum / static_cast<double>(source.texelCount() * 3));
}

TEST_F(RwParser, ReadsTheAutomaticChoiceAsDffinfoListsIt) {
  testing::WriteImage(root_ / "paint.png", 300, 200);
  testing::WriteImage(root_ / "envmap.tga", 64, 64, 90);
  Build("");
  ExpectReadersAgree();
  EXPECT_EQ(Parsed(0).at("d3dFormat"), "DXT1");
  EXPECT_EQ(Parsed(0).at("mipmapCount"), 9);
  EXPECT_EQ(Parsed(0).at("alpha"), false);
  EXPECT_EQ(Parsed(1).at("d3dFormat"), "DXT5");
  EXPECT_EQ(Parsed(1).at("alpha"), true);
}

TEST_F(RwParser, DecodesOurDxtBackToTheSourcePixels) {
  // Power-of-two sources, so that level 0 holds the source texels.
  const pixels::RgbaImage paint = testsupport::TestPattern(64, 32);
  pixels::RgbaImage cutOut = testsupport::TestPattern(32, 32);
  for (std::uint32_t y = 0; y < 32; ++y) {
    for (std::uint32_t x = 0; x < 32; ++x) cutOut.texel(x, y)[3] = (x + y) % 7 < 3 ? 0 : 255;
  }
  testsupport::WriteFileBytes(root_ / "paint.png", testsupport::EncodeImageFile(paint, "png"));
  testsupport::WriteFileBytes(root_ / "envmap.png", testsupport::EncodeImageFile(cutOut, "png"));
  Build("--compress dxt1");
  ExpectReadersAgree();

  const json& opaque = Parsed(0).at("level0");
  ASSERT_EQ(opaque.size(), paint.rgba.size());
  const double error = ColourError(paint, opaque);
  std::printf("DXT1 round trip through rw-parser: RMS error %.3f of 255 per channel\n", error);
  EXPECT_LE(error, kMaxDxtColourError);
  // rw-parser shows index 3 of a three-colour block as transparent black.
  for (std::size_t i = 3; i < opaque.size(); i += 4) ASSERT_EQ(opaque.at(i), 255) << "texel " << i / 4;

  const json& cut = Parsed(1).at("level0");
  ASSERT_EQ(cut.size(), cutOut.rgba.size());
  for (std::size_t i = 3; i < cut.size(); i += 4) ASSERT_EQ(cut.at(i), cutOut.rgba[i]) << "texel " << i / 4;
}

TEST_F(RwParser, ReadsUncompressedTexturesTexelForTexel) {
  const pixels::RgbaImage paint = testsupport::TestPattern(16, 8);
  const pixels::RgbaImage glass = testsupport::TestPattern(8, 8, 77);
  testsupport::WriteFileBytes(root_ / "paint.png", testsupport::EncodeImageFile(paint, "png"));
  testsupport::WriteFileBytes(root_ / "envmap.png", testsupport::EncodeImageFile(glass, "png"));
  // rw-parser decodes 32-bit levels only without the mipmap flag.
  Build("--compress none --no-mipmaps");
  ExpectReadersAgree();
  EXPECT_EQ(Parsed(0).at("rasterFormat"), 0x0600);
  EXPECT_EQ(Parsed(1).at("rasterFormat"), 0x0500);
  EXPECT_EQ(Parsed(0).at("level0").get<std::vector<std::uint8_t>>(), paint.rgba);
  EXPECT_EQ(Parsed(1).at("level0").get<std::vector<std::uint8_t>>(), glass.rgba);
}

}  // namespace
}  // namespace maketxd
