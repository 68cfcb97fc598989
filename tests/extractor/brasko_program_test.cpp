// The built brasko program run as a user runs it: its answers on the
// command line and standard input not a terminal, so that a question with
// no answer counts as cancelled.
#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "tests/extractor/test_chunks.h"
#include "tests/support/files_and_programs.h"

namespace extractor {
namespace {

namespace fs = std::filesystem;
using dff::ChunkType;
using namespace test_chunks;

using testsupport::ReadFileBytes;
using testsupport::WriteFileBytes;

int Count(const std::string& text, const std::string& part) {
  int count = 0;
  for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++count;
  return count;
}

const std::string kWritten = "[Success!] COL file written\n";

class BraskoProgram : public ::testing::Test {
 protected:
  using Result = testsupport::ProgramResult;

  void SetUp() override {
    dir_ = fs::temp_directory_path() /
           ("brasko-" + std::to_string(getpid()) + "-" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir_);
    fs::create_directories(dir_);
    dff_ = dir_ / "model.dff";
    // A clump with two collision records and data after it.
    WriteFileBytes(dff_, Concat({Chunk(ChunkType::Clump,
                                  Chunk(ChunkType::Extension,
                                        Concat({Chunk(ChunkType::Collision, first_),
                                                Chunk(ChunkType::CollisionAlternative, second_)}))),
                            Pattern(16, 0xEE)}));
  }
  void TearDown() override { fs::remove_all(dir_); }

  Result Run(const std::vector<std::string>& answers) {
    std::string command = std::string("'") + BRASKO_PATH + "'";
    for (const std::string& answer : answers) command += " '" + answer + "'";
    return testsupport::RunInFolder(dir_, command);
  }

  fs::path dir_;
  fs::path dff_;
  const Bytes first_ = Pattern(300, 1);
  const Bytes second_ = Pattern(17, 0x80);
};

TEST_F(BraskoProgram, NoInputIsTheMissingFileError) {
  const Result run = Run({});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.err, "[Error, fool!] Wheres my file, fool?!\n");
  EXPECT_EQ(run.out, "");
}

// The first output is a path far longer than 259 characters whose name has
// no extension; the second an existing, longer file, which is replaced.
TEST_F(BraskoProgram, EachRecordGoesWholeToExactlyTheChosenPath) {
  const fs::path deep = dir_ / std::string(100, 'a') / std::string(100, 'b') / std::string(100, 'c');
  fs::create_directories(deep);
  const fs::path longOutput = deep / "collision";
  const fs::path existing = dir_ / "old.col";
  WriteFileBytes(existing, Pattern(1000, 0));

  const Result run = Run({dff_.string(), longOutput.string(), existing.string()});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, kWritten + kWritten);
  EXPECT_EQ(run.err, "");
  EXPECT_EQ(ReadFileBytes(longOutput), first_);
  EXPECT_EQ(ReadFileBytes(existing), second_);
}

TEST_F(BraskoProgram, ACancelledOutputSkipsOnlyItsOwnRecord) {
  const fs::path output = dir_ / "first.col";
  const Result run = Run({dff_.string(), output.string()});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.out, kWritten);
  EXPECT_EQ(run.err, "[Error, fool!] I can't read shit, you fool!\n");
  EXPECT_EQ(ReadFileBytes(output), first_);
}

// Each failure is one error naming its file, fails the run, and is never
// reported as written; the other record of the DFF still is.
TEST_F(BraskoProgram, FailuresNameTheirFileAndAreNeverReportedAsWritten) {
  const std::string second = (dir_ / "second.col").string();
  const std::string missing = (dir_ / "missing.dff").string();
  const std::string inMissingFolder = (dir_ / "no-such-folder" / "out.col").string();
  const fs::path cut = dir_ / "cut.dff";
  WriteFileBytes(cut, Prefix(ReadFileBytes(dff_), 12 * 4 + first_.size() + 10));
  const struct {
    std::vector<std::string> answers;
    std::string error;
    int written;
  } cases[] = {
      {{missing}, "Cannot open the DFF file \"" + missing + "\": No such file", 0},
      {{"/dev/null"}, "The DFF file \"/dev/null\" is damaged: the file is empty", 0},
      {{dff_.string(), inMissingFolder, second}, "Cannot create the COL file \"" + inMissingFolder, 1},
      {{dff_.string(), "/dev/full", second}, "the COL file \"/dev/full\" failed", 1},
      {{cut.string(), second, (dir_ / "cut.col").string()},
       "ends inside its collision chunk at offset 336: only 10 of its 17 bytes are there", 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.error);
    const Result run = Run(c.answers);
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(Count(run.err, "[Error, fool!] "), 1) << run.err;
    EXPECT_EQ(Count(run.err, c.error), 1) << run.err;
    EXPECT_EQ(Count(run.out, kWritten), c.written) << run.out;
  }
  EXPECT_FALSE(fs::exists(inMissingFolder));
  EXPECT_EQ(ReadFileBytes(dir_ / "cut.col"), Prefix(second_, 10));
}

}  // namespace
}  // namespace extractor
