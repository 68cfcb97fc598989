#include "dff_inspect/decoders.h"

namespace dffinfo {

using dff::ChunkType;

Origin OriginOf(const Chunk& chunk) { return {chunk.path, chunk.offset}; }

const Chunk* RequireStruct(const Chunk& parent, Findings& findings) {
  const Chunk* structChunk = FindChild(parent, ChunkType::Struct);
  if (structChunk == nullptr) {
    findings.Damage(parent.path, parent.offset, "the chunk holds no Struct");
  }
  return structChunk;
}

const Chunk* RequireExtension(const Chunk& parent, Findings& findings) {
  const Chunk* extension = FindChild(parent, ChunkType::Extension);
  if (extension == nullptr) {
    findings.Damage(parent.path, parent.offset, "the chunk holds no Extension");
  }
  return extension;
}

bool Need(ByteReader& reader, const Origin& record, const std::string& what,
          std::uint64_t count, std::uint64_t elementSize, Findings& findings) {
  if (reader.Has(count, elementSize)) return true;
  std::string needed = elementSize == 1 || count == 1
                           ? std::to_string(count * elementSize)
                           : std::to_string(count) + " x " + std::to_string(elementSize);
  findings.Damage(record.path, reader.offset(),
                  "the record ends before its " + what + " (" + needed + " bytes needed, " +
                      std::to_string(reader.remaining()) + " left)");
  return false;
}

void ExpectConsumed(const ByteReader& reader, const Origin& record, Findings& findings) {
  if (reader.remaining() == 0) return;
  findings.Damage(record.path, reader.offset(),
                  std::to_string(reader.remaining()) +
                      " bytes follow the record's last field; readers stop before them and "
                      "misread what comes next");
}

bool ExpectSize(const Chunk& chunk, std::uint32_t size, Findings& findings) {
  if (chunk.size == size) return true;
  findings.Damage(chunk.path, chunk.offset,
                  "the record is " + std::to_string(chunk.size) + " bytes long; its readers take " +
                      std::to_string(size));
  return false;
}

}  // namespace dffinfo
