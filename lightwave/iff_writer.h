// Writing of big-endian IFF data: the counterpart of IffReader, used by the
// LWO2 writer and by tests that need files with unusual framing.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <utility>
#include <vector>

#include "lightwave/iff_reader.h"

namespace host {

class IffWriter {
 public:
  void U1(std::uint8_t value);
  void U2(std::uint16_t value);
  void U4(std::uint32_t value);
  void Id4(std::uint32_t id) { U4(id); }
  void F4(float value);
  void F8(double value);
  void Vec12(const std::array<float, 3>& value);
  // Two bytes below 0xFF00, else four with a leading 0xFF, as LightWave
  // writes them.  Values above 24 bits cannot be written.
  void Vx(std::uint32_t value);
  // NUL-terminated and padded to an even length.
  void S0(std::string_view text);
  void Bytes(const std::uint8_t* data, std::size_t count);

  // Opens a chunk; End() writes its length and the pad byte of an odd one.
  // A body too long for its length field throws std::length_error.
  void Begin(std::uint32_t id, IffLength width);
  void End();

  const std::vector<std::uint8_t>& bytes() const { return bytes_; }
  std::vector<std::uint8_t> Release() { return std::move(bytes_); }

 private:
  struct Open {
    std::size_t lengthAt;
    IffLength width;
  };
  std::vector<std::uint8_t> bytes_;
  std::vector<Open> open_;
};

}  // namespace host
