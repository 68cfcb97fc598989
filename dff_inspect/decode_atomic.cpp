#include "dff_inspect/decoders.h"

namespace dffinfo {
namespace {

using dff::ChunkType;
using dff::ToWord;

constexpr std::uint32_t kRightToRenderSize = 8;
constexpr std::uint32_t kAtomicEffectsSize = 4;

void DecodeAtomicStruct(ByteSpan file, const Chunk& structChunk, AtomicRecord& atomic,
                        Findings& findings) {
  atomic.structOrigin = OriginOf(structChunk);
  ByteReader reader = PayloadReader(file, structChunk);
  if (!Need(reader, atomic.structOrigin, "frame, geometry, flags and unused word", 4, 4,
            findings)) {
    return;
  }
  atomic.frameIndex = reader.U32();
  atomic.geometryIndex = reader.U32();
  atomic.flags = reader.U32();
  atomic.unused = reader.U32();
  ExpectConsumed(reader, atomic.structOrigin, findings);
}

void DecodeAtomicExtension(ByteSpan file, const Chunk& extension, AtomicRecord& atomic,
                           Findings& findings) {
  for (const Chunk& plugin : extension.children) {
    ByteReader reader = PayloadReader(file, plugin);
    if (plugin.type == ToWord(ChunkType::RightToRender)) {
      if (ExpectSize(plugin, kRightToRenderSize, findings)) {
        atomic.rightToRender = RightToRenderRecord{reader.U32(), reader.U32()};
      }
    } else if (plugin.type == ToWord(ChunkType::MaterialEffects)) {
      // An atomic's MaterialEffects record is one word: effects enabled.
      if (ExpectSize(plugin, kAtomicEffectsSize, findings)) atomic.materialEffects = reader.U32();
    } else {
      atomic.otherPlugins.push_back(plugin.type);
    }
  }
}

}  // namespace

AtomicRecord DecodeAtomic(ByteSpan file, const Chunk& atomicChunk, Findings& findings) {
  AtomicRecord atomic;
  atomic.origin = OriginOf(atomicChunk);
  ReadingOrder order(atomicChunk, findings);
  if (const Chunk* structChunk = order.Next(ChunkType::Struct)) {
    DecodeAtomicStruct(file, *structChunk, atomic, findings);
  }
  if (const Chunk* extension = order.Next(ChunkType::Extension)) {
    DecodeAtomicExtension(file, *extension, atomic, findings);
  }
  return atomic;
}

}  // namespace dffinfo
