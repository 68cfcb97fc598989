// The built brasko program run as a user runs it, its answers given on the
// command line and standard input closed, so that a question with no
// answer counts as cancelled.
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "tests/extractor/test_chunks.h"

extern char** environ;

namespace extractor {
namespace {

namespace fs = std::filesystem;
using dff::ChunkType;
using test_chunks::Bytes;
using test_chunks::Chunk;
using test_chunks::Concat;
using test_chunks::Pattern;
using test_chunks::Prefix;

struct ProgramRun {
  int status = -1;
  std::string out;
  std::string err;
};

Bytes ReadBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string ReadText(const fs::path& path) {
  const Bytes bytes = ReadBytes(path);
  return std::string(bytes.begin(), bytes.end());
}

void WriteBytes(const fs::path& path, const Bytes& bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

bool Contains(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

int Count(const std::string& text, const std::string& part) {
  int count = 0;
  for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++count;
  return count;
}

const std::string kWritten = "[Success!] COL file written\n";

class BraskoProgram : public ::testing::Test {
 protected:
  void SetUp() override {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    dir_ = fs::temp_directory_path() /
           ("brasko-" + std::to_string(getpid()) + "-" + info->name());
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }

  ProgramRun RunBrasko(const std::vector<std::string>& answers) {
    const fs::path outPath = dir_ / "stdout.txt";
    const fs::path errPath = dir_ / "stderr.txt";
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, outPath.c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, errPath.c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0644);
    std::string program = BRASKO_PATH;
    std::vector<char*> argv{program.data()};
    std::vector<std::string> args = answers;
    for (std::string& arg : args) argv.push_back(arg.data());
    argv.push_back(nullptr);

    ProgramRun run;
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) {
      ADD_FAILURE() << "cannot start " << program;
      return run;
    }
    int status = 0;
    waitpid(pid, &status, 0);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.out = ReadText(outPath);
    run.err = ReadText(errPath);
    return run;
  }

  // A clump with two collision records and data after it.
  fs::path WriteTwoCollisionDff() {
    const fs::path path = dir_ / "model.dff";
    WriteBytes(path, Concat({Chunk(ChunkType::Clump,
                                   Chunk(ChunkType::Extension,
                                         Concat({Chunk(ChunkType::Collision, first_),
                                                 Chunk(ChunkType::CollisionAlternative, second_)}))),
                             Pattern(16, 0xEE)}));
    return path;
  }

  fs::path dir_;
  const Bytes first_ = Pattern(300, 1);
  const Bytes second_ = Pattern(17, 0x80);
};

TEST_F(BraskoProgram, NoInputIsTheMissingFileError) {
  const ProgramRun run = RunBrasko({});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.err, "[Error, fool!] Wheres my file, fool?!\n");
  EXPECT_EQ(run.out, "");
}

// The first output is a path far longer than 259 characters whose name has
// no extension; the second an existing, longer file that must be replaced.
TEST_F(BraskoProgram, EachRecordGoesWholeToExactlyTheChosenPath) {
  const fs::path deep = dir_ / std::string(100, 'a') / std::string(100, 'b') / std::string(100, 'c');
  fs::create_directories(deep);
  const fs::path longOutput = deep / "collision";
  ASSERT_GT(longOutput.string().size(), 300u);
  const fs::path existing = dir_ / "old.col";
  WriteBytes(existing, Pattern(1000, 0));

  const ProgramRun run = RunBrasko({WriteTwoCollisionDff().string(), longOutput.string(), existing.string()});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.err, "");
  EXPECT_EQ(run.out, kWritten + kWritten);
  EXPECT_EQ(ReadBytes(longOutput), first_);
  EXPECT_EQ(ReadBytes(existing), second_);
}

TEST_F(BraskoProgram, ACancelledOutputSkipsOnlyItsOwnRecord) {
  const fs::path output = dir_ / "first.col";
  const ProgramRun run = RunBrasko({WriteTwoCollisionDff().string(), output.string()});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.out, kWritten);
  EXPECT_EQ(run.err, "[Error, fool!] I can't read shit, you fool!\n");
  EXPECT_EQ(ReadBytes(output), first_);
}

// Every failure names its file, fails the run and never claims success.
TEST_F(BraskoProgram, FailuresNameTheirFileAndAreNeverReportedAsWritten) {
  const fs::path dff = WriteTwoCollisionDff();
  const fs::path missingDff = dir_ / "missing.dff";
  const fs::path inMissingFolder = dir_ / "no-such-folder" / "out.col";
  const struct {
    std::vector<std::string> answers;
    std::string named;
  } cases[] = {
      {{missingDff.string()}, missingDff.string()},
      {{dff.string(), inMissingFolder.string(), (dir_ / "second.col").string()},
       inMissingFolder.string()},
      {{dff.string(), "/dev/full", (dir_ / "second.col").string()}, "/dev/full"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.answers.back());
    const ProgramRun run = RunBrasko(c.answers);
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(Count(run.err, "[Error, fool!] "), 1) << run.err;
    EXPECT_TRUE(Contains(run.err, '"' + c.named + '"')) << run.err;
    // Only the second record, when there is one, may succeed.
    EXPECT_EQ(Count(run.out, kWritten), c.answers.size() == 3 ? 1 : 0) << run.out;
  }
  EXPECT_FALSE(fs::exists(inMissingFolder));
}

TEST_F(BraskoProgram, ADamagedDffStillYieldsTheRecordBeforeTheDamage) {
  const Bytes whole = Chunk(ChunkType::Clump,
                            Chunk(ChunkType::Extension,
                                  Concat({Chunk(ChunkType::Collision, first_),
                                          Chunk(ChunkType::GeometryExtra, Pattern(40, 0))})));
  const fs::path dff = dir_ / "cut.dff";
  WriteBytes(dff, Prefix(whole, whole.size() - 10));
  const fs::path output = dir_ / "out.col";

  const ProgramRun run = RunBrasko({dff.string(), output.string()});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.out, kWritten);
  EXPECT_TRUE(Contains(run.err, "is damaged: the GeometryExtra chunk at offset " +
                                    std::to_string(36 + first_.size()) + " claims 40 bytes"))
      << run.err;
  EXPECT_EQ(ReadBytes(output), first_);
}

TEST_F(BraskoProgram, ACollisionRecordCutByTheEndOfTheFileIsAnIncompleteOutput) {
  const Bytes whole = Chunk(ChunkType::Clump, Chunk(ChunkType::Extension, Chunk(ChunkType::Collision, first_)));
  const fs::path dff = dir_ / "cut.dff";
  WriteBytes(dff, Prefix(whole, whole.size() - 100));
  const fs::path output = dir_ / "out.col";

  const ProgramRun run = RunBrasko({dff.string(), output.string()});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.out, "");
  EXPECT_TRUE(Contains(run.err, "only 200 of its 300 bytes are there")) << run.err;
  EXPECT_EQ(Count(run.err, "[Error, fool!] "), 1) << run.err;
  EXPECT_EQ(ReadBytes(output), Prefix(first_, 200));
}

}  // namespace
}  // namespace extractor
