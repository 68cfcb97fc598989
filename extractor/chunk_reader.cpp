#include "extractor/chunk_reader.h"

#include <cstddef>

namespace extractor {

U32Read ReadU32(ByteSource& source) {
  std::uint8_t bytes[4] = {0, 0, 0, 0};
  const std::size_t got = source.Read(bytes, sizeof bytes);
  U32Read result;
  result.endOfFile = got != sizeof bytes;
  result.value = static_cast<std::uint32_t>(bytes[0]) |
                 static_cast<std::uint32_t>(bytes[1]) << 8 |
                 static_cast<std::uint32_t>(bytes[2]) << 16 |
                 static_cast<std::uint32_t>(bytes[3]) << 24;
  return result;
}

std::optional<dff::ChunkHeader> ReadChunkHeader(ByteSource& source) {
  const U32Read type = ReadU32(source);
  const U32Read size = ReadU32(source);
  const U32Read version = ReadU32(source);
  if (type.endOfFile || size.endOfFile || version.endOfFile) return std::nullopt;
  dff::ChunkHeader header;
  header.type = type.value;
  header.size = size.value;
  header.version = version.value;
  return header;
}

}  // namespace extractor
