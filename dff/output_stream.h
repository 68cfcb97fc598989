// The seekable byte stream the chunk writer produces a DFF into.
//
// The whole file is assembled in memory, so that the size patching of the
// framing costs nothing and a failed export never leaves a partial file
// behind; the export command hands the finished bytes to the file system in
// one go.  Failures are sticky: the first one is kept with its reason and
// every later write is ignored, so whoever owns the stream learns of it
// before reporting anything.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace dff {

class OutputStream {
 public:
  // Positions, and so chunk sizes, are signed 32-bit offsets.
  static constexpr std::int64_t kMaxSize = 0x7FFFFFFF;

  bool WriteByte(std::uint8_t byte);
  bool WriteBytes(const void* data, std::size_t count);

  // The current position, or -1 once the stream has failed.
  std::int32_t Tell() const;
  // Moves the position relative to where it is; it must stay within the
  // bytes written so far.
  bool SeekRelative(std::int64_t offset);

  // Records a failure from outside (a source that could not be read, say)
  // unless an earlier one is already recorded.
  void Fail(std::string reason);
  bool failed() const { return failed_; }
  const std::string& error() const { return error_; }

  const std::vector<std::uint8_t>& bytes() const { return bytes_; }
  std::size_t size() const { return bytes_.size(); }

 private:
  bool Reserve(std::size_t extra);

  std::vector<std::uint8_t> bytes_;
  std::size_t position_ = 0;
  bool failed_ = false;
  std::string error_;
};

}  // namespace dff
