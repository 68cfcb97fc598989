// A bounds-checked little-endian reader over one window of a file's bytes.
//
// Reads past the window's end never touch memory: they return zero and leave
// the reader failed, so a decoder can read a whole record and check once.
// Offsets are absolute file offsets, which is what every message names.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace dffinfo {

// The bytes of a whole file, borrowed.
struct ByteSpan {
  const std::uint8_t* data = nullptr;
  std::size_t size = 0;
};

class ByteReader {
 public:
  // Reads `size` bytes of `file` from `offset`; a window that reaches past
  // the end of the file is cut at the end.
  ByteReader(ByteSpan file, std::size_t offset, std::size_t size);

  std::size_t offset() const { return start_ + position_; }
  std::size_t remaining() const { return size_ - position_; }
  bool failed() const { return failed_; }

  // Whether `count` elements of `elementSize` bytes remain; safe against
  // counts whose byte size would overflow.
  bool Has(std::uint64_t count, std::uint64_t elementSize = 1) const;

  std::uint8_t U8();
  std::uint16_t U16();
  std::uint32_t U32();
  std::int32_t I32();
  float F32();
  // `count` raw bytes as a string (names are stored that way).
  std::string Text(std::size_t count);
  void Skip(std::size_t count);

 private:
  bool Take(std::size_t count);

  const std::uint8_t* data_;
  std::size_t start_;
  std::size_t size_;
  std::size_t position_ = 0;
  bool failed_ = false;
};

}  // namespace dffinfo
