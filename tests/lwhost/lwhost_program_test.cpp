// Runs the built lwhost (and the example generator) as a user would.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "dff_inspect/inspect.h"
#include "lightwave/lwo3_writer.h"
#include "lightwave/lwo_reader.h"
#include "tests/support/files_and_programs.h"

namespace {
namespace fs = std::filesystem;

using testsupport::ReadFileText;
using Result = testsupport::ProgramResult;

class LwhostTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() /
           (std::string("velmora-lwhost-") +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir_);
    fs::create_directories(dir_);
    fs::copy(EXAMPLE_DIR, dir_ / "buggy", fs::copy_options::recursive);
  }
  void TearDown() override { fs::remove_all(dir_); }

  Result Run(const std::string& program, const std::string& arguments) {
    return testsupport::RunInFolder(dir_, "'" + program + "' " + arguments);
  }
  Result Lwhost(const std::string& arguments) { return Run(LWHOST_PATH, arguments); }

  fs::path dir_;
};

TEST_F(LwhostTest, ExportsTheExampleWithItsColFile) {
  const Result result = Lwhost("buggy/buggy.lws -o buggy.dff --col buggy/buggy.col");
  ASSERT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(result.out, "Export successful\n");
  const std::string dff = ReadFileText(dir_ / "buggy.dff");
  const std::string col = ReadFileText(dir_ / "buggy" / "buggy.col");
  ASSERT_GT(dff.size(), col.size());
  EXPECT_EQ(dff.substr(dff.size() - col.size()), col);

  const dffinfo::Inspection inspection =
      dffinfo::Inspect(std::vector<std::uint8_t>(dff.begin(), dff.end()));
  ASSERT_TRUE(inspection.sound());
  const dffinfo::ClumpRecord& clump = inspection.clumps.at(0);
  ASSERT_EQ(clump.frames.size(), 3u);
  EXPECT_EQ(clump.frames[0].name, "buggy_root");
  EXPECT_EQ(clump.frames[1].name, "body");
  EXPECT_EQ(clump.frames[2].name, "wheel");
  EXPECT_EQ(clump.frames[2].parent, 1);
  EXPECT_EQ(clump.geometries.size(), 2u);
}

TEST_F(LwhostTest, WithoutAnAnswerTheDffGoesBesideTheInputUnderItsProposedName) {
  const Result result = Lwhost("buggy/buggy.lwo");
  ASSERT_EQ(result.status, 0) << result.err;
  EXPECT_TRUE(fs::exists(dir_ / "buggy" / "buggy.dff"));
  // Without a terminal the COL request is cancelled: the clump ends with
  // an empty Extension.
  const std::string dff = ReadFileText(dir_ / "buggy" / "buggy.dff");
  const auto inspection = dffinfo::Inspect(std::vector<std::uint8_t>(dff.begin(), dff.end()));
  EXPECT_TRUE(inspection.sound());
  EXPECT_EQ(inspection.chunks.at(0).children.back().type, 0x03u);
  EXPECT_EQ(inspection.chunks.at(0).children.back().size, 0u);
}

TEST_F(LwhostTest, ExportsEachInputIntoTheOutputFolder) {
  fs::copy(dir_ / "buggy" / "buggy.lwo", dir_ / "second.lwo");
  const Result result = Lwhost("buggy/buggy.lws second.lwo --out-dir exported --no-col");
  ASSERT_EQ(result.status, 1) << "the output folder does not exist yet: " << result.out;
  fs::create_directories(dir_ / "exported");
  const Result again = Lwhost("buggy/buggy.lws second.lwo --out-dir exported --no-col");
  ASSERT_EQ(again.status, 0) << again.err;
  EXPECT_EQ(again.out, "Export successful\nExport successful\n");
  EXPECT_TRUE(fs::exists(dir_ / "exported" / "buggy.dff"));
  EXPECT_TRUE(fs::exists(dir_ / "exported" / "second.dff"));
}

TEST_F(LwhostTest, FailuresHaveTheirOwnExitStatusAndSayWhy) {
  struct Case {
    const char* arguments;
    int status;
    const char* said;
  };
  const Case cases[] = {
      {"missing.lws", 2, "missing.lws"},
      {"buggy/buggy.col", 2, "buggy.col"},
      {"buggy/buggy.lws buggy/buggy.lwo -o x.dff", 2, "--out-dir"},
      {"buggy/buggy.lws --module nothing.so", 2, "nothing.so"},
      {"buggy/buggy.lws -o nowhere/x.dff --no-col", 1, "nowhere/x.dff"},
      {"buggy/buggy.lws -o x.dff --col none.col", 1, "none.col"},
      {"--col a.col --no-col buggy/buggy.lws", 2, "--no-col"},
  };
  for (const Case& c : cases) {
    const Result result = Lwhost(c.arguments);
    EXPECT_EQ(result.status, c.status) << c.arguments << "\n" << result.err;
    EXPECT_NE(result.err.find(c.said), std::string::npos) << c.arguments << "\n" << result.err;
    EXPECT_EQ(result.out.find("Export successful"), std::string::npos) << c.arguments;
  }
}

TEST_F(LwhostTest, BuildsTheTextureDictionaryFromTheScenesImages) {
  const Result result = Lwhost("buggy/buggy.lws -o buggy.dff --no-col --txd buggy.txd");
  ASSERT_EQ(result.status, 0) << result.err;
  const std::string txd = ReadFileText(dir_ / "buggy.txd");
  const dffinfo::Inspection inspection =
      dffinfo::Inspect(std::vector<std::uint8_t>(txd.begin(), txd.end()));
  ASSERT_TRUE(inspection.sound());
  ASSERT_EQ(inspection.dictionaries.size(), 1u);
  const auto& textures = inspection.dictionaries[0].textures;
  ASSERT_EQ(textures.size(), 2u);
  EXPECT_EQ(textures[0].name, "paint");
  EXPECT_EQ(textures[0].width, 64);
  EXPECT_EQ(textures[1].name, "chrome_env");
  EXPECT_EQ(textures[1].formatName(), "DXT1");
}

TEST_F(LwhostTest, WithoutItsImagesTheDffIsWrittenButNoDictionary) {
  fs::remove_all(dir_ / "buggy" / "images");
  const Result result = Lwhost("buggy/buggy.lws -o buggy.dff --no-col --txd buggy.txd");
  EXPECT_EQ(result.status, 1);
  EXPECT_NE(result.err.find("images/paint.tga; tried "), std::string::npos) << result.err;
  EXPECT_NE(result.err.find("--allow-missing"), std::string::npos) << result.err;
  EXPECT_TRUE(fs::exists(dir_ / "buggy.dff"));
  EXPECT_FALSE(fs::exists(dir_ / "buggy.txd"));
  EXPECT_EQ(Lwhost("buggy/buggy.lws buggy/buggy.lwo --out-dir . --txd buggy.txd").status, 2);
}

TEST_F(LwhostTest, HelpDescribesTheRequestsAndExitStatus) {
  const Result result = Lwhost("--help");
  EXPECT_EQ(result.status, 0);
  EXPECT_NE(result.out.find("--no-col"), std::string::npos);
  EXPECT_NE(result.out.find("Exit status"), std::string::npos);
  EXPECT_NE(result.out.find("each trailing part"), std::string::npos) << "the search for files from another machine";
  EXPECT_NE(result.out.find("1 - Roughness as the glossiness"), std::string::npos) << "the LWO3 material mapping";
}

// The images of an LWO3 object are searched as an LWO2 object's are: its
// reflection map, named only inline, too.
TEST_F(LwhostTest, AnLwo3ObjectsTextureDictionaryIsItsLwo2Saves) {
  const std::string example = ReadFileText(dir_ / "buggy" / "buggy.lwo");
  const host::Lwo2Object object =
      host::ReadLwo(std::vector<std::uint8_t>(example.begin(), example.end()), "buggy.lwo");
  testsupport::WriteFileBytes(dir_ / "buggy" / "buggy3.lwo", host::WriteLwo3(object));
  const Result two = Lwhost("buggy/buggy.lwo -o two.dff --no-col --txd two.txd");
  ASSERT_EQ(two.status, 0) << two.err;
  const Result three = Lwhost("buggy/buggy3.lwo -o three.dff --no-col --txd three.txd");
  ASSERT_EQ(three.status, 0) << three.err;
  EXPECT_EQ(ReadFileText(dir_ / "three.txd"), ReadFileText(dir_ / "two.txd"));
  EXPECT_EQ(ReadFileText(dir_ / "three.dff"), ReadFileText(dir_ / "two.dff"));
}

// The example saved as LWO3, with the connection of its first surface's
// material cut: the export goes on with that surface at LightWave's
// defaults, and says so once.
TEST_F(LwhostTest, AnLwo3SurfaceWithoutItsMaterialIsExportedWithOneWarning) {
  const std::string example = ReadFileText(dir_ / "buggy" / "buggy.lwo");
  const host::Lwo2Object object =
      host::ReadLwo(std::vector<std::uint8_t>(example.begin(), example.end()), "buggy.lwo");
  std::vector<std::uint8_t> bytes = host::WriteLwo3(object);
  const std::string input = "IINM";
  const auto at = std::search(bytes.begin(), bytes.end(), input.begin(), input.end());
  ASSERT_NE(at, bytes.end());
  ASSERT_EQ(std::string(at + 8, at + 16), "Material");
  at[15] = 'z';
  testsupport::WriteFileBytes(dir_ / "buggy" / "buggy3.lwo", bytes);

  const Result result = Lwhost("buggy/buggy3.lwo -o buggy3.dff --no-col");
  ASSERT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(result.out, "Export successful\n");
  EXPECT_EQ(result.err,
            "lwhost: warning: buggy/buggy3.lwo: surface 'Paint' has nothing connected to its Surface node's "
            "Material input; it gets the default surface values\n");
}

// The example as a public project ships it: the scene names its object by
// the maker's absolute path, and the object sits in ../lwo/ beside the
// scene's folder.
TEST_F(LwhostTest, ExportsASceneMadeOnAnotherMachine) {
  const fs::path data = dir_ / "Programs" / "Data";
  fs::create_directories(data / "scenes");
  fs::create_directories(data / "lwo");
  fs::copy_file(dir_ / "buggy" / "buggy.lwo", data / "lwo" / "buggy.lwo");
  std::string scene = ReadFileText(dir_ / "buggy" / "buggy.lws");
  const std::string stored = " buggy.lwo\n";
  for (std::size_t at = scene.find(stored); at != std::string::npos; at = scene.find(stored, at)) {
    const std::string foreign = " C:msys/1.0/home/maker/Programs/Data/lwo/buggy.lwo\n";
    scene.replace(at, stored.size(), foreign);
    at += foreign.size();
  }
  std::ofstream(data / "scenes" / "buggy.lws", std::ios::binary) << scene;

  const Result result = Lwhost("Programs/Data/scenes/buggy.lws -o buggy.dff --no-col");
  ASSERT_EQ(result.status, 0) << result.err;
  const std::string dff = ReadFileText(dir_ / "buggy.dff");
  EXPECT_TRUE(dffinfo::Inspect(std::vector<std::uint8_t>(dff.begin(), dff.end())).sound());

  fs::remove(data / "lwo" / "buggy.lwo");
  const Result missing = Lwhost("Programs/Data/scenes/buggy.lws -o buggy.dff --no-col");
  EXPECT_EQ(missing.status, 2);
  EXPECT_NE(missing.err.find("Programs/Data/lwo/buggy.lwo\n"), std::string::npos) << missing.err;
}

TEST_F(LwhostTest, TheBundledExampleIsWhatItsGeneratorWrites) {
  const Result result = Run(MAKE_EXAMPLE_PATH, "generated");
  ASSERT_EQ(result.status, 0) << result.err;
  for (const char* name :
       {"buggy.lwo", "buggy.lws", "buggy.col", "images/paint.tga", "images/chrome_env.tga"}) {
    EXPECT_EQ(ReadFileText(dir_ / "generated" / name), ReadFileText(fs::path(EXAMPLE_DIR) / name))
        << name << " is out of date: run make_example examples/buggy";
  }
}

}  // namespace
