// _wfopen shares the file with other programs as fopen does; the checked
// variant the Microsoft runtime would suggest locks it.
#if defined(_MSC_VER) && !defined(_CRT_SECURE_NO_WARNINGS)
#define _CRT_SECURE_NO_WARNINGS
#endif

#include "extractor/file_io.h"

#include <cerrno>
#include <system_error>

namespace extractor {
namespace {

std::FILE* OpenFile(const std::filesystem::path& path, bool forWriting) {
#ifdef _WIN32
  return _wfopen(path.c_str(), forWriting ? L"wb" : L"rb");
#else
  return std::fopen(path.c_str(), forWriting ? "wb" : "rb");
#endif
}

// 64-bit positions on every platform: the chunk sizes alone may reach 4 GiB.
bool SeekFile(std::FILE* file, std::uint64_t offset, int origin) {
#ifdef _WIN32
  return _fseeki64(file, static_cast<__int64>(offset), origin) == 0;
#else
  return fseeko(file, static_cast<off_t>(offset), origin) == 0;
#endif
}

std::int64_t TellFile(std::FILE* file) {
#ifdef _WIN32
  return _ftelli64(file);
#else
  return ftello(file);
#endif
}

// The reason for the failure that just happened, from errno.
std::string LastErrorReason(const char* fallback) {
  if (errno == 0) return fallback;
  return std::generic_category().message(errno);
}

}  // namespace

std::unique_ptr<FileSource> FileSource::Open(const std::filesystem::path& path,
                                             std::string& error) {
  std::error_code status;
  // Some systems open a folder for reading and only fail on the first read.
  if (std::filesystem::is_directory(path, status)) {
    error = "it is a folder, not a file";
    return nullptr;
  }
  errno = 0;
  std::FILE* file = OpenFile(path, false);
  if (file == nullptr) {
    error = LastErrorReason("the file could not be opened");
    return nullptr;
  }
  errno = 0;
  const bool measured = SeekFile(file, 0, SEEK_END);
  const std::int64_t size = measured ? TellFile(file) : -1;
  if (size < 0 || !SeekFile(file, 0, SEEK_SET)) {
    error = LastErrorReason("its length could not be determined");
    std::fclose(file);
    return nullptr;
  }
  return std::unique_ptr<FileSource>(new FileSource(file, static_cast<std::uint64_t>(size)));
}

FileSource::~FileSource() { std::fclose(file_); }

bool FileSource::Seek(std::uint64_t offset) {
  if (offset > size_ || !SeekFile(file_, offset, SEEK_SET)) return false;
  position_ = offset;
  return true;
}

std::size_t FileSource::Read(std::uint8_t* out, std::size_t count) {
  const std::size_t got = std::fread(out, 1, count, file_);
  position_ += got;
  return got;
}

std::unique_ptr<OutputFile> OutputFile::Create(const std::filesystem::path& path,
                                               std::string& error) {
  errno = 0;
  std::FILE* file = OpenFile(path, true);
  if (file == nullptr) {
    error = LastErrorReason("the file could not be created");
    return nullptr;
  }
  return std::unique_ptr<OutputFile>(new OutputFile(file));
}

OutputFile::~OutputFile() {
  if (file_ != nullptr) std::fclose(file_);
}

bool OutputFile::Write(const std::uint8_t* data, std::size_t count) {
  errno = 0;
  if (std::fwrite(data, 1, count, file_) == count) return true;
  error_ = LastErrorReason("write error");
  return false;
}

bool OutputFile::Close() {
  errno = 0;
  const int result = std::fclose(file_);
  file_ = nullptr;
  if (result == 0) return true;
  error_ = LastErrorReason("the file could not be closed");
  return false;
}

}  // namespace extractor
