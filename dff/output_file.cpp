#include "dff/output_file.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <random>
#include <system_error>

namespace dff {
namespace fs = std::filesystem;

namespace {

// A device such as /dev/null, or a pipe, cannot be replaced by renaming a
// regular file over it; such targets are written in place.
bool IsReplaceable(const fs::path& path) {
  std::error_code ec;
  const fs::file_status status = fs::status(path, ec);
  return ec || !fs::exists(status) || fs::is_regular_file(status);
}

// A name beside the target that no file has yet.
fs::path TemporaryNameBeside(const fs::path& path) {
  std::random_device random;
  for (;;) {
    char suffix[32];
    std::snprintf(suffix, sizeof suffix, ".%08x.tmp", static_cast<unsigned>(random()));
    fs::path candidate = path;
    candidate += suffix;
    std::error_code ec;
    if (!fs::exists(candidate, ec)) return candidate;
  }
}

std::string ErrnoText(int errorNumber) {
  return errorNumber != 0 ? std::strerror(errorNumber) : "unknown reason";
}

}  // namespace

OutputFile::OutputFile(std::string path, platform::TextEncoding encoding)
    : path_(std::move(path)), target_(platform::PathFromHostText(path_, encoding)) {
  // An empty path would put the temporary file in the working folder.
  if (target_.empty()) {
    Fail("cannot be created", "its name is not valid text in the host's encoding");
    return;
  }
  inPlace_ = !IsReplaceable(target_);
  writePath_ = inPlace_ ? target_ : TemporaryNameBeside(target_);
  errno = 0;
  file_ = platform::OpenFile(writePath_, "wb");
  if (file_ == nullptr) {
    const int reason = errno;
    writePath_.clear();
    Fail("cannot be created", ErrnoText(reason));
    return;
  }
  if (!inPlace_) stream_.StreamTo(file_);
}

OutputFile::~OutputFile() { Discard(); }

bool OutputFile::Fail(const std::string& what, const std::string& reason) {
  if (error_.empty()) error_ = "The file " + path_ + " " + what + ": " + reason + ".";
  return false;
}

bool OutputFile::Commit() {
  if (file_ == nullptr) return false;
  if (!stream_.Finish()) {
    Discard();
    return Fail("could not be written", stream_.error());
  }
  errno = 0;
  const std::vector<std::uint8_t>& held = stream_.bytes();
  const bool written = !inPlace_ || std::fwrite(held.data(), 1, held.size(), file_) == held.size();
  if (!written || std::fflush(file_) != 0) {
    const int reason = errno;
    Discard();
    return Fail("could not be written", ErrnoText(reason));
  }
  std::FILE* stream = file_;
  file_ = nullptr;
  errno = 0;
  if (std::fclose(stream) != 0) {
    const int reason = errno;
    Discard();
    return Fail("could not be closed", ErrnoText(reason));
  }
  if (inPlace_) return true;
  std::error_code ec;
  fs::rename(writePath_, target_, ec);
  if (ec) {
    Discard();
    return Fail("could not be replaced", ec.message());
  }
  writePath_.clear();
  return true;
}

void OutputFile::Discard() {
  if (file_ != nullptr) {
    std::fclose(file_);
    file_ = nullptr;
  }
  if (!inPlace_ && !writePath_.empty()) {
    std::error_code ignored;
    fs::remove(writePath_, ignored);
    writePath_.clear();
  }
}

}  // namespace dff
