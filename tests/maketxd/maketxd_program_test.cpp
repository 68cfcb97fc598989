// The maketxd program: what it writes, and that it writes nothing when it
// cannot write everything the user asked for.
#include <gtest/gtest.h>
#include <unistd.h>

#include "tests/maketxd/model_files.h"

namespace maketxd {
namespace {

namespace fs = std::filesystem;
using testsupport::ProgramResult;

class MaketxdProgram : public ::testing::Test {
 protected:
  void SetUp() override {
    root_ = testing::ScratchFolder(::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::create_directories(root_ / "model");
    fs::create_directories(root_ / "images");
    testsupport::WriteFileBytes(root_ / "model" / "car.dff", testing::ModelUsing("paint", "envmap"));
  }
  void TearDown() override { fs::remove_all(root_); }

  ProgramResult Run(const std::string& arguments) {
    return testsupport::RunInFolder(root_, std::string(MAKETXD_PROGRAM) + " " + arguments);
  }

  // The texture count of a written dictionary, or -1 when it is not one.
  int TextureCount(const fs::path& txd) {
    const std::vector<std::uint8_t> bytes = testsupport::ReadFileBytes(txd);
    if (bytes.size() < 28 || bytes[0] != 0x16) return -1;
    return bytes[24] | bytes[25] << 8;
  }

  // Nothing but what the test made: no temporary file left behind.
  std::vector<std::string> FilesIn(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }

  fs::path root_;
};

TEST_F(MaketxdProgram, WritesEveryTextureFromTheFoldersAndTheModelsOwn) {
  testing::WriteImage(root_ / "images" / "Paint.PNG", 100, 60);
  testing::WriteImage(root_ / "model" / "envmap.tga", 16, 16);
  const ProgramResult run = Run("model/car.dff -o model/car.txd --images images");
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(TextureCount(root_ / "model" / "car.txd"), 2);
}

TEST_F(MaketxdProgram, AMissingImageWritesNothingUnlessAllowed) {
  testing::WriteImage(root_ / "images" / "paint.png", 8, 8);
  testsupport::WriteFileBytes(root_ / "model" / "car.txd", {'o', 'l', 'd'});
  ProgramResult run = Run("model/car.dff -o model/car.txd --images images");
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("\"envmap\""), std::string::npos) << run.err;
  // The places searched, the named folder first, in a few lines.
  EXPECT_NE(run.err.find("places tried, the first 3:\n    images/envmap.(png|"), std::string::npos) << run.err;
  EXPECT_NE(run.err.find("--allow-missing"), std::string::npos) << run.err;
  EXPECT_EQ(testsupport::ReadFileText(root_ / "model" / "car.txd"), "old");

  run = Run("model/car.dff -o model/car.txd --images images --allow-missing");
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_NE(run.err.find("left out: no image for \"envmap\""), std::string::npos) << run.err;
  EXPECT_EQ(TextureCount(root_ / "model" / "car.txd"), 1);
}

// Images kept beside the model's folder need no --images; every place
// looked at for a missing one is listed on request.
TEST_F(MaketxdProgram, FindsImagesInTheUsualFoldersAroundTheModel) {
  fs::create_directories(root_ / "textures");
  testing::WriteImage(root_ / "images" / "paint.png", 8, 8);
  ProgramResult run = Run("model/car.dff -o model/car.txd --verbose");
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find(fs::absolute(root_ / "textures" / "envmap").lexically_normal().string() + ".(png|"),
            std::string::npos) << run.err;

  testing::WriteImage(root_ / "textures" / "envmap.tga", 8, 8);
  run = Run("model/car.dff -o model/car.txd");
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(TextureCount(root_ / "model" / "car.txd"), 2);

  run = Run("--help");
  EXPECT_NE(run.out.find("textures, Textures, tex and maps"), std::string::npos) << run.out;
}

TEST_F(MaketxdProgram, ACorruptImageIsNamedAndNothingIsWritten) {
  testing::WriteImage(root_ / "model" / "envmap.png", 8, 8);
  testsupport::WriteFileBytes(root_ / "model" / "paint.png", {0x89, 'P', 'N', 'G', 0x0D, 0x0A});
  const ProgramResult run = Run("model/car.dff -o model/car.txd --allow-missing");
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("model/paint.png: "), std::string::npos) << run.err;
  EXPECT_FALSE(fs::exists(root_ / "model" / "car.txd"));
}

TEST_F(MaketxdProgram, AFailedWriteLeavesNoFileBehind) {
  testing::WriteImage(root_ / "model" / "paint.png", 8, 8);
  testing::WriteImage(root_ / "model" / "envmap.png", 8, 8);
  // A folder stands where the dictionary should go: it cannot be replaced.
  fs::create_directories(root_ / "model" / "car.txd");
  const ProgramResult run = Run("model/car.dff -o model/car.txd");
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("car.txd"), std::string::npos) << run.err;
  EXPECT_EQ(FilesIn(root_ / "model"), (std::vector<std::string>{"car.dff", "car.txd", "envmap.png", "paint.png"}));

  const ProgramResult noFolder = Run("model/car.dff -o absent/car.txd");
  EXPECT_EQ(noFolder.status, 1);
  EXPECT_FALSE(fs::exists(root_ / "absent"));
}

TEST_F(MaketxdProgram, BadUsageAndUnreadableModelsAreRefused) {
  EXPECT_EQ(Run("model/car.dff -o x.txd --max-size 100").status, 2);
  EXPECT_EQ(Run("model/car.dff -o x.txd --max-size 2").status, 2);
  // No image decoded is larger than 8192 pixels a side, so neither is a
  // texture.
  const ProgramResult tooLarge = Run("model/car.dff -o x.txd --max-size 16384");
  EXPECT_EQ(tooLarge.status, 2);
  EXPECT_NE(tooLarge.err.find("{4,8,16,32,64,128,256,512,1024,2048,4096,8192}"), std::string::npos) << tooLarge.err;
  EXPECT_EQ(Run("model/car.dff -o x.txd --compress dxt2").status, 2);
  EXPECT_EQ(Run("model/car.dff").status, 2);
  const ProgramResult absent = Run("model/none.dff -o x.txd");
  EXPECT_EQ(absent.status, 2);
  EXPECT_NE(absent.err.find("none.dff"), std::string::npos);
  std::vector<std::uint8_t> cut = testing::ModelUsing("paint", "envmap");
  cut.resize(100);
  testsupport::WriteFileBytes(root_ / "model" / "cut.dff", cut);
  const ProgramResult damaged = Run("model/cut.dff -o x.txd");
  EXPECT_EQ(damaged.status, 2);
  EXPECT_NE(damaged.err.find("damaged"), std::string::npos) << damaged.err;
  EXPECT_FALSE(fs::exists(root_ / "x.txd"));
}

}  // namespace
}  // namespace maketxd
