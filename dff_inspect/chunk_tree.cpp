#include "dff_inspect/chunk_tree.h"

#include <map>

#include "dff_inspect/chunk_names.h"

namespace dffinfo {
namespace {

using dff::ChunkType;
using dff::kChunkHeaderSize;
using dff::ToWord;

// Chunks that are elements of a list carry their position in their path even
// when the list holds only one, so paths name the same thing in every file.
bool IsListElement(std::uint32_t parentType, std::uint32_t type) {
  return (parentType == ToWord(ChunkType::GeometryList) && type == ToWord(ChunkType::Geometry)) ||
         (parentType == ToWord(ChunkType::MaterialList) && type == ToWord(ChunkType::Material)) ||
         (parentType == ToWord(ChunkType::FrameList) && type == ToWord(ChunkType::Extension)) ||
         (parentType == ToWord(ChunkType::Clump) && type == ToWord(ChunkType::Atomic));
}

std::string JoinPath(const std::string& parentPath, const std::string& name) {
  return parentPath.empty() ? name : parentPath + "/" + name;
}

Chunk ReadHeader(ByteSpan file, std::size_t offset) {
  ByteReader reader(file, offset, kChunkHeaderSize);
  Chunk chunk;
  chunk.offset = offset;
  chunk.type = reader.U32();
  chunk.size = reader.U32();
  chunk.version = reader.U32();
  return chunk;
}

std::string RunsPastMessage(const Chunk& chunk, std::size_t available, bool topLevel) {
  return "the chunk declares " + std::to_string(chunk.size) + " payload bytes but only " +
         std::to_string(available) + (topLevel ? " remain in the file (the file is cut short)"
                                               : " remain in its parent");
}

void AssignPaths(std::vector<Chunk>& chunks, std::uint32_t parentType,
                 const std::string& parentPath) {
  std::map<std::uint32_t, int> totals;
  for (const Chunk& chunk : chunks) ++totals[chunk.type];
  std::map<std::uint32_t, int> seen;
  for (Chunk& chunk : chunks) {
    std::string name = PathName(chunk.type);
    const int position = seen[chunk.type]++;
    if (totals[chunk.type] > 1 || IsListElement(parentType, chunk.type)) {
      name += "[" + std::to_string(position) + "]";
    }
    chunk.path = JoinPath(parentPath, name);
  }
}

void ParseChildren(ByteSpan file, Chunk& parent, int depth, Findings& findings);

// Reads the chunks laid one after another in [begin, end).
std::vector<Chunk> ParseSequence(ByteSpan file, std::size_t begin, std::size_t end,
                                 std::uint32_t parentType, const std::string& parentPath,
                                 int depth, Findings& findings) {
  const bool topLevel = parentPath.empty();
  std::vector<Chunk> chunks;
  std::size_t at = begin;
  bool overran = false;
  while (end - at >= kChunkHeaderSize) {
    Chunk chunk = ReadHeader(file, at);
    // Padding after the last chunk of a file is zero bytes, never a chunk.
    if (topLevel && chunk.type == 0) break;
    const std::size_t available = end - at - kChunkHeaderSize;
    if (chunk.size > available) {
      std::string path = JoinPath(parentPath, PathName(chunk.type));
      findings.Damage(path, at, RunsPastMessage(chunk, available, topLevel));
      overran = true;
      break;
    }
    at = chunk.end();
    chunks.push_back(std::move(chunk));
  }
  if (!overran && at < end) {
    const std::string count = std::to_string(end - at);
    if (topLevel) {
      findings.Warn("(file)", at, count + " bytes after the last chunk belong to no chunk");
    } else {
      findings.Damage(parentPath, at,
                      count + " bytes at the end of the payload are too few for a chunk");
    }
  }
  AssignPaths(chunks, parentType, parentPath);
  for (Chunk& chunk : chunks) ParseChildren(file, chunk, depth + 1, findings);
  return chunks;
}

void ParseChildren(ByteSpan file, Chunk& parent, int depth, Findings& findings) {
  if (!IsContainer(parent.type)) return;
  if (depth >= kMaxDepth) {
    findings.Damage(parent.path, parent.offset,
                    "chunks are nested more than " + std::to_string(kMaxDepth) + " deep");
    return;
  }
  parent.children = ParseSequence(file, parent.payloadOffset(), parent.end(), parent.type,
                                  parent.path, depth, findings);
}

}  // namespace

bool IsContainer(std::uint32_t type) {
  switch (type) {
    case ToWord(ChunkType::Clump):
    case ToWord(ChunkType::FrameList):
    case ToWord(ChunkType::GeometryList):
    case ToWord(ChunkType::Geometry):
    case ToWord(ChunkType::MaterialList):
    case ToWord(ChunkType::Material):
    case ToWord(ChunkType::Texture):
    case ToWord(ChunkType::Extension):
    case ToWord(ChunkType::Atomic):
    case ToWord(ChunkType::TextureDictionary):
    case ToWord(ChunkType::TextureNative):
    case 0x05:  // Camera
    case 0x12:  // Light
    case 0x2B:  // UVAnimDictionary
      return true;
    default:
      return false;
  }
}

std::vector<Chunk> ParseChunkTree(ByteSpan file, Findings& findings) {
  return ParseSequence(file, 0, file.size, 0, std::string(), 0, findings);
}

std::optional<Chunk> ParseEmbeddedChunk(ByteSpan file, std::size_t offset, std::size_t limit,
                                        const std::string& parentPath, Findings& findings) {
  if (offset > limit || limit - offset < kChunkHeaderSize) {
    findings.Damage(parentPath, offset, "the record ends where an embedded chunk should start");
    return std::nullopt;
  }
  Chunk chunk = ReadHeader(file, offset);
  chunk.path = JoinPath(parentPath, PathName(chunk.type));
  const std::size_t available = limit - offset - kChunkHeaderSize;
  if (chunk.size > available) {
    findings.Damage(chunk.path, offset, RunsPastMessage(chunk, available, false));
    return std::nullopt;
  }
  ParseChildren(file, chunk, 1, findings);
  return chunk;
}

const Chunk* FindChild(const Chunk& parent, std::uint32_t type) {
  for (const Chunk& child : parent.children) {
    if (child.type == type) return &child;
  }
  return nullptr;
}

const Chunk* FindChild(const Chunk& parent, dff::ChunkType type) {
  return FindChild(parent, ToWord(type));
}

std::vector<const Chunk*> ChildrenOfType(const Chunk& parent, dff::ChunkType type) {
  std::vector<const Chunk*> result;
  for (const Chunk& child : parent.children) {
    if (child.type == ToWord(type)) result.push_back(&child);
  }
  return result;
}

ByteReader PayloadReader(ByteSpan file, const Chunk& chunk) {
  return ByteReader(file, chunk.payloadOffset(), chunk.size);
}

}  // namespace dffinfo
