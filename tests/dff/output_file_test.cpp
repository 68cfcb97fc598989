#include "dff/output_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "tests/support/files_and_programs.h"

namespace dff {
namespace {
namespace fs = std::filesystem;

class OutputFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() /
           ("velmora-output-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
            "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }

  std::size_t EntriesInDir() const {
    return static_cast<std::size_t>(std::distance(fs::directory_iterator(dir_), {}));
  }

  fs::path dir_;
};

TEST_F(OutputFileTest, CommitReplacesTheFileWholeAndLeavesNothingElse) {
  const fs::path target = dir_ / "car.dff";
  std::ofstream(target) << "old contents that are longer";
  OutputFile file(target.string());
  ASSERT_TRUE(file.ok()) << file.error();
  EXPECT_EQ(testsupport::ReadFileText(target), "old contents that are longer");  // untouched until the commit
  file.stream().WriteBytes("new", 3);
  ASSERT_TRUE(file.Commit());
  EXPECT_EQ(testsupport::ReadFileText(target), "new");
  EXPECT_EQ(EntriesInDir(), 1u);
}

TEST_F(OutputFileTest, DiscardKeepsTheExistingFile) {
  const fs::path target = dir_ / "car.dff";
  std::ofstream(target) << "precious";
  {
    OutputFile file(target.string());
    ASSERT_TRUE(file.ok());
    file.Discard();
  }
  EXPECT_EQ(testsupport::ReadFileText(target), "precious");
  EXPECT_EQ(EntriesInDir(), 1u);
}

// The bytes already went to the temporary file when the stream fails; the
// chosen file must still be left as it was.
TEST_F(OutputFileTest, AStreamThatFailsAfterWritingLeavesTheFileAndNoTemporaryOne) {
  const fs::path target = dir_ / "car.dff";
  std::ofstream(target) << "precious";
  OutputFile file(target.string());
  ASSERT_TRUE(file.ok()) << file.error();
  const std::vector<std::uint8_t> bytes(3 << 20, 0x5A);  // more than the stream holds back
  file.stream().WriteBytes(bytes.data(), bytes.size());
  file.stream().Fail("the model could not be written");
  EXPECT_FALSE(file.Commit());
  EXPECT_NE(file.error().find("the model could not be written"), std::string::npos) << file.error();
  EXPECT_EQ(testsupport::ReadFileText(target), "precious");
  EXPECT_EQ(EntriesInDir(), 1u);
}

TEST_F(OutputFileTest, AMissingFolderIsAnErrorNamingTheFile) {
  const fs::path target = dir_ / "no such folder" / "car.dff";
  OutputFile file(target.string());
  EXPECT_FALSE(file.ok());
  EXPECT_NE(file.error().find(target.string()), std::string::npos) << file.error();
  file.stream().WriteBytes("\1\2\3", 3);
  EXPECT_FALSE(file.Commit());
}

TEST_F(OutputFileTest, AFullDeviceIsWrittenInPlaceAndItsFailureReported) {
  if (!fs::exists("/dev/full")) GTEST_SKIP() << "no /dev/full here";
  OutputFile file("/dev/full");
  ASSERT_TRUE(file.ok()) << file.error();
  const std::vector<std::uint8_t> bytes(1 << 16, 0xAB);
  file.stream().WriteBytes(bytes.data(), bytes.size());
  EXPECT_FALSE(file.Commit());
  EXPECT_NE(file.error().find("/dev/full"), std::string::npos) << file.error();
  EXPECT_TRUE(fs::is_character_file("/dev/full"));
}

}  // namespace
}  // namespace dff
