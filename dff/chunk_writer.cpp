#include "dff/chunk_writer.h"

#include <cstring>

namespace dff {

int WriteU16(OutputStream& stream, std::uint16_t value) {
  if (!stream.WriteByte(static_cast<std::uint8_t>(value & 0xFFu))) return 1;
  if (!stream.WriteByte(static_cast<std::uint8_t>(value >> 8))) return 1;
  return 0;
}

int WriteU32(OutputStream& stream, std::uint32_t value) {
  const std::uint8_t bytes[4] = {
      static_cast<std::uint8_t>(value & 0xFFu), static_cast<std::uint8_t>((value >> 8) & 0xFFu),
      static_cast<std::uint8_t>((value >> 16) & 0xFFu), static_cast<std::uint8_t>(value >> 24)};
  stream.WriteBytes(bytes, sizeof bytes);
  return 0;
}

int WriteF32(OutputStream& stream, float value) {
  std::uint32_t bits = 0;
  static_assert(sizeof bits == sizeof value, "floats are written as 32-bit patterns");
  std::memcpy(&bits, &value, sizeof bits);
  return WriteU32(stream, bits);
}

std::uint32_t WriteStringChunk(OutputStream& stream, const void* data, std::uint32_t length,
                               std::uint32_t version) {
  WriteU32(stream, ToWord(ChunkType::String));
  WriteU32(stream, length);
  WriteU32(stream, version);
  stream.WriteBytes(data, length);
  return length;
}

std::uint32_t PaddedStringLength(std::uint32_t textLength) {
  return textLength + 4u - (textLength % 4u);
}

std::int32_t BeginChunk(OutputStream& stream, ChunkType type, std::uint32_t version) {
  WriteU32(stream, ToWord(type));
  WriteU32(stream, 0);
  WriteU32(stream, version);
  return stream.Tell();
}

std::int32_t EndChunk(OutputStream& stream, std::int32_t payloadStart) {
  const std::int32_t payloadEnd = stream.Tell();
  if (payloadStart < 0 || payloadEnd < payloadStart) {
    stream.Fail("a chunk ended before it began");
    return 0;
  }
  const std::int32_t size = payloadEnd - payloadStart;
  // Back over the payload and the version word onto the size field.
  stream.SeekRelative(static_cast<std::int64_t>(payloadStart) - payloadEnd - 8);
  WriteU32(stream, static_cast<std::uint32_t>(size));
  // Forward over the version word and the payload again.
  stream.SeekRelative(static_cast<std::int64_t>(size) + 4);
  return size + static_cast<std::int32_t>(kChunkHeaderSize);
}

}  // namespace dff
