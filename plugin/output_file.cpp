#include "plugin/output_file.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <random>
#include <system_error>

namespace plugin {
namespace fs = std::filesystem;

namespace {

// A device such as /dev/null, or a pipe, cannot be replaced by renaming a
// regular file over it; such targets are written in place.
bool IsReplaceable(const std::string& path) {
  std::error_code ec;
  const fs::file_status status = fs::status(fs::path(path), ec);
  return ec || !fs::exists(status) || fs::is_regular_file(status);
}

// A name beside the target that no file has yet.
std::string TemporaryNameBeside(const std::string& path) {
  std::random_device random;
  for (;;) {
    char suffix[32];
    std::snprintf(suffix, sizeof suffix, ".%08x.tmp", static_cast<unsigned>(random()));
    std::error_code ec;
    if (!fs::exists(fs::path(path + suffix), ec)) return path + suffix;
  }
}

std::string ErrnoText(int errorNumber) {
  return errorNumber != 0 ? std::strerror(errorNumber) : "unknown reason";
}

}  // namespace

OutputFile::OutputFile(std::string path) : path_(std::move(path)) {
  inPlace_ = !IsReplaceable(path_);
  writePath_ = inPlace_ ? path_ : TemporaryNameBeside(path_);
  errno = 0;
  stream_ = std::fopen(writePath_.c_str(), "wb");
  if (stream_ == nullptr) {
    const int reason = errno;
    writePath_.clear();
    Fail("cannot be created", ErrnoText(reason));
  }
}

OutputFile::~OutputFile() { Discard(); }

bool OutputFile::Fail(const std::string& what, const std::string& reason) {
  if (error_.empty()) error_ = "The file " + path_ + " " + what + ": " + reason + ".";
  return false;
}

bool OutputFile::Commit(const std::vector<std::uint8_t>& bytes) {
  if (stream_ == nullptr) return false;
  errno = 0;
  const std::size_t written = std::fwrite(bytes.data(), 1, bytes.size(), stream_);
  if (written != bytes.size() || std::fflush(stream_) != 0) {
    const int reason = errno;
    Discard();
    return Fail("could not be written", ErrnoText(reason));
  }
  std::FILE* stream = stream_;
  stream_ = nullptr;
  errno = 0;
  if (std::fclose(stream) != 0) {
    const int reason = errno;
    Discard();
    return Fail("could not be closed", ErrnoText(reason));
  }
  if (inPlace_) return true;
  std::error_code ec;
  fs::rename(fs::path(writePath_), fs::path(path_), ec);
  if (ec) {
    Discard();
    return Fail("could not be replaced", ec.message());
  }
  writePath_.clear();
  return true;
}

void OutputFile::Discard() {
  if (stream_ != nullptr) {
    std::fclose(stream_);
    stream_ = nullptr;
  }
  if (!inPlace_ && !writePath_.empty()) {
    std::error_code ignored;
    fs::remove(fs::path(writePath_), ignored);
    writePath_.clear();
  }
}

}  // namespace plugin
