// Puts a finished DFF on disk without ever destroying the file the user
// chose to replace: the bytes go to a temporary file beside it, which takes
// the chosen name only after a complete write and close.
#pragma once

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/host_path.h"

namespace plugin {

class OutputFile {
 public:
  // Creates the temporary file beside `path` (or, for a path that names a
  // device or another non-regular file, opens the path itself, which is
  // then written in place).  `encoding` is that of the host text `path`
  // came in.  Check error() before use.
  explicit OutputFile(std::string path,
                      platform::TextEncoding encoding = platform::TextEncoding::kNative);
  ~OutputFile();
  OutputFile(const OutputFile&) = delete;
  OutputFile& operator=(const OutputFile&) = delete;

  // Writes the bytes, closes, and moves the file into place.  False on any
  // failure, with error() saying what and why; the temporary file is then
  // removed and the chosen path is left as it was.
  bool Commit(const std::vector<std::uint8_t>& bytes);

  // Gives up: removes the temporary file.
  void Discard();

  const std::string& error() const { return error_; }
  bool ok() const { return error_.empty(); }

 private:
  bool Fail(const std::string& what, const std::string& reason);

  std::string path_;            // as the host gave it, for messages
  std::filesystem::path target_;  // path_ as the file system names it
  std::filesystem::path writePath_;  // the temporary file, or target_ when written in place
  std::FILE* stream_ = nullptr;
  bool inPlace_ = false;
  std::string error_;
};

}  // namespace plugin
