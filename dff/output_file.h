// Puts a DFF on disk without ever destroying the file the user chose to
// replace: the bytes stream into a temporary file beside it as they are
// written, and that file takes the chosen name only after a complete write
// and close.
#pragma once

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>

#include "dff/output_stream.h"
#include "platform/host_path.h"

namespace dff {

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

  // Where the file's bytes are written.  A device or other non-regular
  // file may not seek, so its bytes are held in memory until the commit.
  dff::OutputStream& stream() { return stream_; }

  // Finishes the stream, closes, and moves the file into place.  False on
  // any failure, the stream's own included, with error() saying what and
  // why; the temporary file is then removed and the chosen path is left as
  // it was.
  bool Commit();

  // Gives up: removes the temporary file.
  void Discard();

  const std::string& error() const { return error_; }
  bool ok() const { return error_.empty(); }

 private:
  bool Fail(const std::string& what, const std::string& reason);

  std::string path_;            // as the host gave it, for messages
  std::filesystem::path target_;  // path_ as the file system names it
  std::filesystem::path writePath_;  // the temporary file, or target_ when written in place
  std::FILE* file_ = nullptr;
  dff::OutputStream stream_;
  bool inPlace_ = false;
  std::string error_;
};

}  // namespace dff
