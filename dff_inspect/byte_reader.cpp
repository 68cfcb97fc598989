#include "dff_inspect/byte_reader.h"

#include <algorithm>
#include <cstring>

namespace dffinfo {

ByteReader::ByteReader(ByteSpan file, std::size_t offset, std::size_t size)
    : data_(file.data),
      start_(std::min(offset, file.size)),
      size_(std::min(size, file.size - std::min(offset, file.size))) {}

bool ByteReader::Has(std::uint64_t count, std::uint64_t elementSize) const {
  if (elementSize != 0 && count > UINT64_MAX / elementSize) return false;
  return count * elementSize <= remaining();
}

bool ByteReader::Take(std::size_t count) {
  if (failed_ || count > remaining()) {
    failed_ = true;
    return false;
  }
  return true;
}

std::uint8_t ByteReader::U8() {
  if (!Take(1)) return 0;
  return data_[start_ + position_++];
}

std::uint16_t ByteReader::U16() {
  if (!Take(2)) return 0;
  const std::uint8_t* p = data_ + start_ + position_;
  position_ += 2;
  return static_cast<std::uint16_t>(p[0] | p[1] << 8);
}

std::uint32_t ByteReader::U32() {
  if (!Take(4)) return 0;
  const std::uint8_t* p = data_ + start_ + position_;
  position_ += 4;
  return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
         static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

std::int32_t ByteReader::I32() {
  const std::uint32_t bits = U32();
  std::int32_t value = 0;
  std::memcpy(&value, &bits, sizeof value);
  return value;
}

float ByteReader::F32() {
  const std::uint32_t bits = U32();
  float value = 0.0f;
  static_assert(sizeof bits == sizeof value, "floats are stored as 32-bit patterns");
  std::memcpy(&value, &bits, sizeof value);
  return value;
}

std::string ByteReader::Text(std::size_t count) {
  if (!Take(count)) return std::string();
  const char* p = reinterpret_cast<const char*>(data_ + start_ + position_);
  position_ += count;
  return std::string(p, count);
}

void ByteReader::Skip(std::size_t count) {
  if (Take(count)) position_ += count;
}

}  // namespace dffinfo
