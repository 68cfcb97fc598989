// Little-endian words and chunk headers read from a ByteSource.
#pragma once

#include <cstdint>
#include <optional>

#include "dff/chunk_type.h"
#include "extractor/byte_source.h"

namespace extractor {

struct U32Read {
  std::uint32_t value = 0;
  // The input ended (or failed) before all four bytes were read; `value`
  // then holds only the bytes that were.
  bool endOfFile = false;
};

// Four bytes, least significant first.
U32Read ReadU32(ByteSource& source);

// Type, size and version in that order, or nothing when the input ended
// inside the header.
std::optional<dff::ChunkHeader> ReadChunkHeader(ByteSource& source);

}  // namespace extractor
