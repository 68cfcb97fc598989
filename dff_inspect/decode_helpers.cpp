#include "dff_inspect/decoders.h"

namespace dffinfo {

using dff::ChunkType;

Origin OriginOf(const Chunk& chunk) { return {chunk.path, chunk.offset}; }

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
                      std::to_string(size) +
                      ": the game's plug-in reads that many, overruns its buffer with more, and "
                      "reads every chunk after it from the wrong place");
  return false;
}

}  // namespace dffinfo
