// The chunk tree of a file: every chunk's header, where it sits, its path,
// and the chunks nested in it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "dff/chunk_type.h"
#include "dff_inspect/byte_reader.h"
#include "dff_inspect/findings.h"

namespace dffinfo {

struct Chunk {
  std::uint32_t type = 0;
  std::uint32_t size = 0;     // payload bytes, nested chunks included
  std::uint32_t version = 0;  // library version stamp
  std::size_t offset = 0;     // file offset of the header
  // Where the chunk sits, e.g. Clump/GeometryList/Geometry[2]/Struct.  The
  // elements of a list carry their position; any other chunk carries one
  // only when its parent holds more than one chunk of its type.
  std::string path;
  // Filled for the types whose payload is made of chunks; plug-in records
  // and Struct chunks are leaves.
  std::vector<Chunk> children;

  std::size_t payloadOffset() const { return offset + dff::kChunkHeaderSize; }
  std::size_t end() const { return payloadOffset() + size; }
};

// Chunks nested deeper than this are reported instead of followed, so a
// hostile file cannot exhaust the stack.
constexpr int kMaxDepth = 32;

// Whether a chunk of this type holds only chunks (Clump, Geometry,
// Extension and the like), so that the parser descends into it.
bool IsContainer(std::uint32_t type);

// Parses the top-level chunks of a file.  A chunk that runs past its parent
// or past the end of the file is reported and left out, with everything
// after it at that level.  Bytes after the last top-level chunk that do not
// start another chunk are reported as a warning: tools that pad files leave
// them there and readers stop before them.
std::vector<Chunk> ParseChunkTree(ByteSpan file, Findings& findings);

// Parses the one chunk whose header sits at `offset`, which must end by
// `limit`: used for chunks that a plug-in record embeds among its own data.
std::optional<Chunk> ParseEmbeddedChunk(ByteSpan file, std::size_t offset, std::size_t limit,
                                        const std::string& parentPath, Findings& findings);

// The first child of a type, or nullptr.
const Chunk* FindChild(const Chunk& parent, std::uint32_t type);
const Chunk* FindChild(const Chunk& parent, dff::ChunkType type);
// Every child of a type, in file order.
std::vector<const Chunk*> ChildrenOfType(const Chunk& parent, dff::ChunkType type);

// A reader over a chunk's payload.
ByteReader PayloadReader(ByteSpan file, const Chunk& chunk);

}  // namespace dffinfo
