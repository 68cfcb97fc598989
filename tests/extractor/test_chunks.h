// Chunk bytes built by hand, for inputs the chunk writer would never
// produce: wrong sizes, cut-off headers, odd nesting.
#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <vector>

#include "dff/chunk_type.h"

namespace extractor::test_chunks {

using Bytes = std::vector<std::uint8_t>;

// A header claiming `size` payload bytes, whatever follows it.
inline Bytes Header(std::uint32_t type, std::uint32_t size) {
  Bytes bytes;
  for (const std::uint32_t word : {type, size, dff::kLibraryVersion}) {
    for (int shift = 0; shift < 32; shift += 8) {
      bytes.push_back(static_cast<std::uint8_t>((word >> shift) & 0xFFu));
    }
  }
  return bytes;
}

inline Bytes Header(dff::ChunkType type, std::uint32_t size) {
  return Header(dff::ToWord(type), size);
}

inline Bytes Concat(std::initializer_list<Bytes> parts) {
  Bytes bytes;
  for (const Bytes& part : parts) bytes.insert(bytes.end(), part.begin(), part.end());
  return bytes;
}

// A chunk whose size is exactly its payload.
inline Bytes Chunk(dff::ChunkType type, const Bytes& payload) {
  return Concat({Header(type, static_cast<std::uint32_t>(payload.size())), payload});
}

// The first `length` bytes, as a file cut short would hold them.
inline Bytes Prefix(const Bytes& bytes, std::size_t length) {
  return Bytes(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(length));
}

// Recognisable payload bytes: `count` bytes counting up from `first`.
inline Bytes Pattern(std::size_t count, std::uint8_t first) {
  Bytes bytes(count);
  for (std::size_t i = 0; i < count; ++i) bytes[i] = static_cast<std::uint8_t>(first + i);
  return bytes;
}

}  // namespace extractor::test_chunks
