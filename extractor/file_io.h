// Binary files by path: the DFF read as a ByteSource, and the COL written
// with every failure kept with its reason.  Paths are opened as the platform
// holds them (UTF-16 on Windows), whatever their length.
#pragma once

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

#include "extractor/byte_source.h"

namespace extractor {

class FileSource final : public ByteSource {
 public:
  // The file opened for reading, or nullptr with the reason in `error`.
  static std::unique_ptr<FileSource> Open(const std::filesystem::path& path, std::string& error);
  ~FileSource() override;
  FileSource(const FileSource&) = delete;
  FileSource& operator=(const FileSource&) = delete;

  std::uint64_t Size() const override { return size_; }
  std::uint64_t Position() const override { return position_; }
  bool Seek(std::uint64_t offset) override;
  std::size_t Read(std::uint8_t* out, std::size_t count) override;

 private:
  FileSource(std::FILE* file, std::uint64_t size) : file_(file), size_(size) {}

  std::FILE* file_;
  std::uint64_t size_;
  std::uint64_t position_ = 0;
};

class OutputFile {
 public:
  // The file created, or truncated when it exists, or nullptr with the
  // reason in `error`.
  static std::unique_ptr<OutputFile> Create(const std::filesystem::path& path,
                                            std::string& error);
  // Closes a file whose writing was abandoned; a close that matters is an
  // explicit Close().
  ~OutputFile();
  OutputFile(const OutputFile&) = delete;
  OutputFile& operator=(const OutputFile&) = delete;

  bool Write(const std::uint8_t* data, std::size_t count);
  // Flushes and closes.  Only a true result means the bytes reached the
  // file system.
  bool Close();
  // Why the last Write or Close failed.
  const std::string& error() const { return error_; }

 private:
  explicit OutputFile(std::FILE* file) : file_(file) {}

  std::FILE* file_;
  std::string error_;
};

}  // namespace extractor
