// Game models through lwhost --import and back out through both export
// commands: what our commands wrote comes back byte for byte.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <string>
#include <vector>

#include <unistd.h>

#include "dff_inspect/inspect.h"
#include "lightwave/lwo2_writer.h"
#include "tests/import/chain_scene.h"
#include "tests/support/files_and_programs.h"

namespace {
namespace fs = std::filesystem;

using testsupport::ReadFileBytes;
using testsupport::ReadFileText;

constexpr std::uint32_t kFace = 0x46414345u;

class RoundTrip : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("velmora-import-" + std::to_string(::getpid()) + "-" +
                                        ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir_);
    fs::create_directories(dir_ / "first");
    fs::create_directories(dir_ / "again");
    fs::copy(EXAMPLE_DIR, dir_ / "buggy", fs::copy_options::recursive);
  }
  void TearDown() override { fs::remove_all(dir_); }

  testsupport::ProgramResult Lwhost(const std::string& arguments) {
    return testsupport::RunInFolder(dir_, "'" LWHOST_PATH "' " + arguments);
  }

  // Runs lwhost and expects success.
  void Succeed(const std::string& arguments) {
    const testsupport::ProgramResult result = Lwhost(arguments);
    ASSERT_EQ(result.status, 0) << arguments << "\n" << result.err;
  }

  void ExpectSameFile(const std::string& a, const std::string& b) {
    ASSERT_TRUE(fs::exists(dir_ / a)) << a;
    ASSERT_TRUE(fs::exists(dir_ / b)) << b;
    EXPECT_TRUE(ReadFileBytes(dir_ / a) == ReadFileBytes(dir_ / b)) << a << " and " << b << " differ";
  }

  fs::path dir_;
};

TEST_F(RoundTrip, TheFirstCommandsExampleComesBackByteForByteWithItsColEmbedded) {
  Succeed("buggy/buggy.lws -o buggy.dff --col buggy/buggy.col");
  Succeed("--import buggy.dff -o imported");
  EXPECT_TRUE(fs::exists(dir_ / "imported/body.lwo"));
  EXPECT_TRUE(fs::exists(dir_ / "imported/wheel.lwo"));
  ExpectSameFile("buggy/buggy.col", "imported/buggy.col");
  Succeed("imported/buggy.lws -o again/buggy.dff --col imported/buggy.col");
  ExpectSameFile("buggy.dff", "again/buggy.dff");
}

TEST_F(RoundTrip, TheMapCommandsExampleComesBackWithTheSameDffAndCol) {
  Succeed("--map buggy/buggy.lws -o first/buggy.dff");
  Succeed("--import first/buggy.dff -o imported");
  Succeed("--map imported/buggy.lws -o again/buggy.dff");
  ExpectSameFile("first/buggy.dff", "again/buggy.dff");
  ExpectSameFile("first/buggy.col", "again/buggy.col");
  // The TXD names the same textures; their texels went through DXT once
  // more, so its bytes may differ.
  const dffinfo::Inspection first = dffinfo::Inspect(ReadFileBytes(dir_ / "first/buggy.txd"));
  const dffinfo::Inspection again = dffinfo::Inspect(ReadFileBytes(dir_ / "again/buggy.txd"));
  ASSERT_EQ(first.dictionaries.size(), 1u);
  ASSERT_EQ(again.dictionaries.size(), 1u);
  ASSERT_EQ(first.dictionaries[0].textures.size(), again.dictionaries[0].textures.size());
  for (std::size_t i = 0; i < first.dictionaries[0].textures.size(); ++i) {
    EXPECT_EQ(first.dictionaries[0].textures[i].name, again.dictionaries[0].textures[i].name);
    EXPECT_EQ(first.dictionaries[0].textures[i].width, again.dictionaries[0].textures[i].width);
  }
}

// A house for the map command: a visible quad pair with day and night
// colours that differ between the corners of one point and two UV sets,
// two surfaces, and layers "col" (two surface types) and "shadow".
host::Lwo2Object House() {
  host::Lwo2Object object;
  host::Lwo2Layer visible;
  visible.number = 0;
  visible.name = "house";
  host::Mesh& mesh = visible.mesh;
  mesh.points = {{0, 0, 0}, {2, 0, 0}, {2, 2, 0}, {0, 2, 0}, {4, 0, 1}, {4, 2, 1}};
  mesh.polygons = {{kFace, {0, 1, 2, 3}, "wall"}, {kFace, {1, 4, 5, 2}, "roof"}};
  host::UvMap uv;
  uv.name = "uv";
  for (int p = 0; p < 6; ++p) uv.pointValues[p] = {mesh.points[static_cast<std::size_t>(p)][0] / 4.0f, 0.25f * static_cast<float>(p % 3)};
  uv.polygonValues[{1, 1}] = {0.9f, 0.1f};  // a seam at point 1
  host::UvMap second = uv;
  second.name = "uv_detail";
  host::UvMap day;
  day.name = "day";
  day.type = host::kVertexMapRgba;
  day.dimension = 4;
  host::UvMap night = day;
  night.name = "night";
  for (int p = 0; p < 6; ++p) {
    const float f = static_cast<float>(p) / 8.0f;
    day.pointValues[p] = {f, 1.0f - f, 0.5f, 1.0f};
    night.pointValues[p] = {0.1f, f, 0.2f, 0.75f};
  }
  day.polygonValues[{2, 1}] = {1.0f, 0.0f, 0.0f, 1.0f};
  mesh.uvMaps = {uv, second};
  mesh.colorMaps = {day, night};
  host::Lwo2Layer collision;
  collision.number = 1;
  collision.name = "col";
  collision.mesh.points = {{-1, 0, -1}, {5, 0, -1}, {5, 0, 3}, {-1, 0, 3}, {2, 3, 1}};
  collision.mesh.polygons = {{kFace, {0, 1, 2}, "TARMAC"}, {kFace, {0, 2, 3}, "GRASS_SHORT_LUSH"},
                             {kFace, {0, 1, 4}, "TARMAC"}};
  host::Lwo2Layer shadow;
  shadow.number = 2;
  shadow.name = "shadow";
  shadow.mesh.points = {{0, 0.1f, 0}, {4, 0.1f, 0}, {4, 0.1f, 2}};
  shadow.mesh.polygons = {{kFace, {0, 1, 2}, "TARMAC"}};
  object.layers = {visible, collision, shadow};
  host::Lwo2Surface wall;
  wall.name = "wall";
  wall.color = {0.5, 0.25, 1.0};
  wall.vertexColorMap = "day";
  host::Lwo2Surface roof = wall;
  roof.name = "roof";
  roof.transparency = 0.5;
  host::Lwo2Surface tarmac;
  tarmac.name = "TARMAC";
  host::Lwo2Surface grass;
  grass.name = "GRASS_SHORT_LUSH";
  object.surfaces = {wall, roof, tarmac, grass};
  return object;
}

TEST_F(RoundTrip, AColouredMapObjectWithCollisionAndShadowComesBackByteForByte) {
  host::WriteLwo2File(House(), (dir_ / "house.lwo").string());
  Succeed("--map house.lwo -o first/house.dff");
  Succeed("--import first/house.dff -o imported");
  const std::string scene = ReadFileText(dir_ / "imported/house.lws");
  EXPECT_NE(scene.find("LoadObjectLayer 1 10000001 house_collision.lwo"), std::string::npos) << scene;
  EXPECT_NE(scene.find("LoadObjectLayer 2 10000002 house_collision.lwo"), std::string::npos) << scene;
  Succeed("--map imported/house.lws -o again/house.dff");
  ExpectSameFile("first/house.dff", "again/house.dff");
  ExpectSameFile("first/house.col", "again/house.col");
}

// Wedges turned every way, scaled unevenly, hinged at pivots and chained
// under a null: each frame comes back with the same bytes.
TEST_F(RoundTrip, TurnedScaledAndChainedFramesComeBackByteForByte) {
  importtest::WriteChainScene(dir_, true);

  Succeed("chain.lws -o first/chain.dff --no-col");
  Succeed("--import first/chain.dff -o imported");
  Succeed("imported/chain.lws -o again/chain.dff --no-col");
  ExpectSameFile("first/chain.dff", "again/chain.dff");
}

TEST_F(RoundTrip, ADamagedDffIsRefusedWithDffinfosFindingsAndNothingIsWritten) {
  Succeed("buggy/buggy.lws -o buggy.dff --no-col");
  std::vector<std::uint8_t> bytes = ReadFileBytes(dir_ / "buggy.dff");
  bytes.resize(bytes.size() - 40);
  testsupport::WriteFileBytes(dir_ / "cut.dff", bytes);
  const testsupport::ProgramResult result = Lwhost("--import cut.dff -o imported");
  EXPECT_EQ(result.status, 1);
  const testsupport::ProgramResult dffinfo = testsupport::RunInFolder(dir_, "'" DFFINFO_PATH "' --quiet cut.dff");
  EXPECT_EQ(dffinfo.status, 1);
  // Every line dffinfo prints about the file, then its verdict.
  std::string line;
  for (std::size_t at = 0, end; (end = dffinfo.err.find('\n', at)) != std::string::npos; at = end + 1) {
    line = dffinfo.err.substr(at, end - at);
    if (line.rfind("dffinfo: ", 0) == 0) line = line.substr(9);
    EXPECT_NE(result.err.find(line), std::string::npos) << line << "\nnot in:\n" << result.err;
  }
  EXPECT_FALSE(fs::exists(dir_ / "imported"));
}

TEST_F(RoundTrip, AFileOfTwoClumpsOrATxdInsteadOfAModelIsRefusedSayingSo) {
  Succeed("buggy/buggy.lws -o buggy.dff --no-col --txd buggy.txd");
  std::vector<std::uint8_t> twice = ReadFileBytes(dir_ / "buggy.dff");
  const std::vector<std::uint8_t> once = twice;
  twice.insert(twice.end(), once.begin(), once.end());
  testsupport::WriteFileBytes(dir_ / "twice.dff", twice);
  testsupport::ProgramResult result = Lwhost("--import twice.dff -o imported");
  EXPECT_EQ(result.status, 1);
  EXPECT_NE(result.err.find("holds 2 clumps"), std::string::npos) << result.err;
  result = Lwhost("--import buggy.txd -o imported");
  EXPECT_EQ(result.status, 1);
  EXPECT_NE(result.err.find("holds no clump"), std::string::npos) << result.err;
  EXPECT_FALSE(fs::exists(dir_ / "imported"));
}

TEST_F(RoundTrip, ATextureMissingFromTheTxdIsAWarningAndItsNameComesBack) {
  Succeed("buggy/buggy.lws -o buggy.dff --col buggy/buggy.col");
  // No TXD beside the model, none named.
  const testsupport::ProgramResult result = Lwhost("--import buggy.dff -o imported");
  ASSERT_EQ(result.status, 0) << result.err;
  EXPECT_NE(result.err.find("warning: no texture dictionary"), std::string::npos) << result.err;
  EXPECT_NE(result.err.find("texture \"paint\" is not in the texture dictionary"), std::string::npos) << result.err;
  EXPECT_FALSE(fs::exists(dir_ / "imported/images/paint.png"));
  Succeed("imported/buggy.lws -o again/buggy.dff --col imported/buggy.col");
  ExpectSameFile("buggy.dff", "again/buggy.dff");
}

TEST_F(RoundTrip, TheTxdBesideTheModelGivesItsImages) {
  Succeed("buggy/buggy.lws -o buggy.dff --col buggy/buggy.col --txd buggy.txd");
  const testsupport::ProgramResult result = Lwhost("--import buggy.dff -o imported");
  ASSERT_EQ(result.status, 0) << result.err;
  EXPECT_TRUE(fs::exists(dir_ / "imported/images/paint.png"));
  EXPECT_TRUE(fs::exists(dir_ / "imported/images/chrome_env.png"));
}

}  // namespace
