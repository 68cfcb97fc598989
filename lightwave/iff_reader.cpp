#include "lightwave/iff_reader.h"

#include <cmath>
#include <cstdio>
#include <cstring>

namespace host {

IffError::IffError(std::uint64_t offset, const std::string& what)
    : std::runtime_error(what), offset_(offset) {}

std::string IdText(std::uint32_t id) {
  // LWO3 keeps each form's own data in a chunk named by four spaces, which
  // would read as a gap in a message.
  if (id == MakeId("    ")) return "ANON";
  std::string text;
  for (int shift = 24; shift >= 0; shift -= 8) {
    const auto byte = static_cast<unsigned char>(id >> shift);
    if (byte >= 0x20 && byte < 0x7F) {
      text += static_cast<char>(byte);
    } else {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\x%02X", byte);
      text += escaped;
    }
  }
  return text;
}

IffReader::IffReader(const std::uint8_t* data, std::size_t size, std::uint64_t fileOffset)
    : data_(data), size_(size), fileOffset_(fileOffset) {}

void IffReader::Fail(const std::string& what) const { throw IffError(offset(), what); }

void IffReader::Require(std::size_t count, const char* what) const {
  if (remaining() < count) {
    Fail(std::string(what) + " needs " + std::to_string(count) + " bytes but only " +
         std::to_string(remaining()) + " are left");
  }
}

std::uint8_t IffReader::U1() {
  Require(1, "a byte");
  return data_[position_++];
}

std::uint16_t IffReader::U2() {
  Require(2, "a 2-byte integer");
  const auto value = static_cast<std::uint16_t>(data_[position_] << 8 | data_[position_ + 1]);
  position_ += 2;
  return value;
}

std::uint32_t IffReader::U4() {
  Require(4, "a 4-byte integer");
  const std::uint32_t value = static_cast<std::uint32_t>(data_[position_]) << 24 |
                              static_cast<std::uint32_t>(data_[position_ + 1]) << 16 |
                              static_cast<std::uint32_t>(data_[position_ + 2]) << 8 |
                              static_cast<std::uint32_t>(data_[position_ + 3]);
  position_ += 4;
  return value;
}

float IffReader::F4(const char* what) {
  const std::uint64_t at = offset();
  const std::uint32_t bits = U4();
  float value = 0.0f;
  std::memcpy(&value, &bits, sizeof value);
  if (!std::isfinite(value)) throw IffError(at, std::string(what) + " is not a finite number");
  return value;
}

double IffReader::F8(const char* what) {
  const std::uint64_t at = offset();
  const std::uint64_t high = U4();
  const std::uint64_t bits = high << 32 | U4();
  double value = 0.0;
  std::memcpy(&value, &bits, sizeof value);
  if (!std::isfinite(value)) throw IffError(at, std::string(what) + " is not a finite number");
  return value;
}

std::array<float, 3> IffReader::Vec12(const char* what) {
  const float x = F4(what);
  const float y = F4(what);
  const float z = F4(what);
  return {x, y, z};
}

std::uint32_t IffReader::Vx() {
  Require(2, "an index");
  if (data_[position_] != 0xFF) return U2();
  return U4() & 0x00FFFFFFu;
}

std::string IffReader::S0() {
  const void* end = std::memchr(data_ + position_, 0, remaining());
  if (end == nullptr) Fail("a name is not terminated before the end of its chunk");
  const auto length = static_cast<std::size_t>(static_cast<const std::uint8_t*>(end) -
                                               (data_ + position_));
  std::string text(reinterpret_cast<const char*>(data_ + position_), length);
  position_ += length + 1;
  // Strings occupy an even count of bytes; the pad may be missing at the
  // very end of a chunk without losing anything.
  if ((length + 1) % 2 != 0 && !atEnd()) ++position_;
  return text;
}

void IffReader::Skip(std::size_t count) {
  Require(count, "skipping");
  position_ += count;
}

IffReader IffReader::Take(std::size_t count) {
  Require(count, "a chunk body");
  IffReader part(data_ + position_, count, offset());
  position_ += count;
  return part;
}

std::optional<IffChunk> NextChunk(IffReader& parent, IffLength width) {
  if (parent.atEnd()) return std::nullopt;
  IffChunk chunk{0, parent.offset(), parent};
  const std::size_t headerSize = width == IffLength::kU4 ? 8 : 6;
  if (parent.remaining() < headerSize) {
    parent.Fail("a chunk header needs " + std::to_string(headerSize) + " bytes but only " +
                std::to_string(parent.remaining()) + " are left");
  }
  chunk.id = parent.Id4();
  const std::size_t length = width == IffLength::kU4 ? parent.U4() : parent.U2();
  if (length > parent.remaining()) {
    parent.Fail("chunk " + IdText(chunk.id) + " says it holds " + std::to_string(length) +
                " bytes but only " + std::to_string(parent.remaining()) +
                " are left (the file is truncated or damaged)");
  }
  chunk.body = parent.Take(length);
  if (length % 2 != 0 && !parent.atEnd()) parent.Skip(1);
  return chunk;
}

}  // namespace host
