#include "lightwave/iff_writer.h"

#include <cstring>
#include <limits>
#include <stdexcept>
#include <string>

namespace host {

void IffWriter::U1(std::uint8_t value) { bytes_.push_back(value); }

// Whole values appended at once: a million points' worth of values is
// most of an object's bytes.
void IffWriter::U2(std::uint16_t value) {
  const std::uint8_t bytes[2] = {static_cast<std::uint8_t>(value >> 8), static_cast<std::uint8_t>(value)};
  Bytes(bytes, sizeof bytes);
}

void IffWriter::U4(std::uint32_t value) {
  const std::uint8_t bytes[4] = {static_cast<std::uint8_t>(value >> 24), static_cast<std::uint8_t>(value >> 16),
                                 static_cast<std::uint8_t>(value >> 8), static_cast<std::uint8_t>(value)};
  Bytes(bytes, sizeof bytes);
}

void IffWriter::F4(float value) {
  std::uint32_t bits = 0;
  std::memcpy(&bits, &value, sizeof bits);
  U4(bits);
}

void IffWriter::F8(double value) {
  std::uint64_t bits = 0;
  std::memcpy(&bits, &value, sizeof bits);
  U4(static_cast<std::uint32_t>(bits >> 32));
  U4(static_cast<std::uint32_t>(bits));
}

void IffWriter::Vec12(const std::array<float, 3>& value) {
  for (float component : value) F4(component);
}

void IffWriter::Vx(std::uint32_t value) {
  if (value > 0x00FFFFFFu) throw std::length_error("index " + std::to_string(value) + " needs more than 24 bits");
  if (value < 0xFF00u) {
    U2(static_cast<std::uint16_t>(value));
  } else {
    U4(0xFF000000u | value);
  }
}

void IffWriter::S0(std::string_view text) {
  Bytes(reinterpret_cast<const std::uint8_t*>(text.data()), text.size());
  U1(0);
  if ((text.size() + 1) % 2 != 0) U1(0);
}

void IffWriter::Bytes(const std::uint8_t* data, std::size_t count) {
  bytes_.insert(bytes_.end(), data, data + count);
}

void IffWriter::Begin(std::uint32_t id, IffLength width) {
  Id4(id);
  open_.push_back({bytes_.size(), width});
  if (width == IffLength::kU4) {
    U4(0);
  } else {
    U2(0);
  }
}

void IffWriter::End() {
  const Open chunk = open_.back();
  open_.pop_back();
  const std::size_t headerEnd = chunk.lengthAt + (chunk.width == IffLength::kU4 ? 4 : 2);
  const std::size_t length = bytes_.size() - headerEnd;
  const std::size_t limit = chunk.width == IffLength::kU4 ? std::numeric_limits<std::uint32_t>::max()
                                                          : std::numeric_limits<std::uint16_t>::max();
  if (length > limit) {
    throw std::length_error("chunk body of " + std::to_string(length) + " bytes exceeds its length field");
  }
  const int firstShift = chunk.width == IffLength::kU4 ? 24 : 8;
  std::size_t at = chunk.lengthAt;
  for (int shift = firstShift; shift >= 0; shift -= 8) bytes_[at++] = static_cast<std::uint8_t>(length >> shift);
  if (length % 2 != 0) U1(0);
}

}  // namespace host
