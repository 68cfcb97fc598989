// Files and programs as the end-to-end tests see them: whole files read
// and written, and built programs run through the shell with their output
// captured.
#pragma once

#include <sys/wait.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace testsupport {

inline std::vector<std::uint8_t> ReadFileBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), {});
}

inline std::string ReadFileText(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

inline void WriteFileBytes(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes) {
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

struct ProgramResult {
  int status = -1;  // the exit status, -1 when the program did not exit normally
  std::string out;
  std::string err;
};

// Runs `commandLine` through the shell in `folder`, with standard input
// from /dev/null; its output goes through files in that folder.  Paths in
// the tests hold no single quotes, so quoting them for the shell is safe.
inline ProgramResult RunInFolder(const std::filesystem::path& folder,
                                 const std::string& commandLine) {
  const std::filesystem::path out = folder / "program-stdout.txt";
  const std::filesystem::path err = folder / "program-stderr.txt";
  const std::string command = "cd '" + folder.string() + "' && " + commandLine +
                              " < /dev/null > '" + out.string() + "' 2> '" + err.string() + "'";
  const int raw = std::system(command.c_str());
  ProgramResult result;
  result.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  result.out = ReadFileText(out);
  result.err = ReadFileText(err);
  std::filesystem::remove(out);
  std::filesystem::remove(err);
  return result;
}

}  // namespace testsupport
