// Little-endian fields read straight from bytes, by the offsets the game's
// loader uses, so that tests do not lean on the reader under test.
#pragma once

#include <cstdint>
#include <cstring>
#include <vector>

namespace coltest {

inline std::uint16_t U16(const std::vector<std::uint8_t>& b, std::size_t at) {
  return static_cast<std::uint16_t>(b.at(at) | (b.at(at + 1) << 8));
}
inline std::int16_t I16(const std::vector<std::uint8_t>& b, std::size_t at) {
  return static_cast<std::int16_t>(U16(b, at));
}
inline std::uint32_t U32(const std::vector<std::uint8_t>& b, std::size_t at) {
  return static_cast<std::uint32_t>(U16(b, at)) | (static_cast<std::uint32_t>(U16(b, at + 2)) << 16);
}
inline float F32(const std::vector<std::uint8_t>& b, std::size_t at) {
  const std::uint32_t bits = U32(b, at);
  float f = 0.0f;
  std::memcpy(&f, &bits, sizeof f);
  return f;
}

}  // namespace coltest
