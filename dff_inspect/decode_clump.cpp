#include <utility>

#include "dff_inspect/decoders.h"

namespace dffinfo {
namespace {

using dff::ChunkType;

void DecodeClumpStruct(ByteSpan file, const Chunk& structChunk, ClumpRecord& clump,
                       Findings& findings) {
  clump.structOrigin = OriginOf(structChunk);
  ByteReader reader = PayloadReader(file, structChunk);
  if (!Need(reader, clump.structOrigin, "atomic count", 1, 4, findings)) return;
  clump.atomicCount = reader.U32();
  // Files older than 3.3 stop after the atomic count.
  if (reader.remaining() == 0) return;
  if (!Need(reader, clump.structOrigin, "light and camera counts", 2, 4, findings)) return;
  clump.lightCount = reader.U32();
  clump.cameraCount = reader.U32();
  ExpectConsumed(reader, clump.structOrigin, findings);
}

std::vector<GeometryRecord> DecodeGeometryList(ByteSpan file, const Chunk& list,
                                               Findings& findings) {
  std::vector<GeometryRecord> geometries;
  const std::vector<const Chunk*> chunks = ChildrenOfType(list, ChunkType::Geometry);
  for (const Chunk* geometry : chunks) geometries.push_back(DecodeGeometry(file, *geometry, findings));

  ReadingOrder order(list, findings);
  const Chunk* structChunk = order.Next(ChunkType::Struct);
  if (structChunk == nullptr) return geometries;
  const Origin origin = OriginOf(*structChunk);
  ByteReader reader = PayloadReader(file, *structChunk);
  if (!Need(reader, origin, "geometry count", 1, 4, findings)) return geometries;
  const std::uint32_t count = reader.U32();
  ExpectConsumed(reader, origin, findings);
  for (std::size_t i = 0; i < count && i < chunks.size(); ++i) order.Next(ChunkType::Geometry);
  if (count != chunks.size()) {
    findings.Damage(origin.path, structChunk->payloadOffset(),
                    "the geometry list declares " + std::to_string(count) +
                        " geometries but holds " + std::to_string(chunks.size()));
  }
  return geometries;
}

void DecodeClumpExtension(const Chunk& extension, ClumpRecord& clump) {
  for (const Chunk& plugin : extension.children) {
    if (dff::IsCollisionChunk(plugin.type)) {
      clump.collisions.push_back({OriginOf(plugin), plugin.type, plugin.size});
    } else {
      clump.otherPlugins.push_back(plugin.type);
    }
  }
}

// The game stops reading the clump at its Extension.  An empty chunk after
// it costs nothing; anything else there never reaches the game.
void ReportUnreadChunks(const ReadingOrder& order, Findings& findings) {
  for (const Chunk* chunk : order.Unread()) {
    if (chunk->type == dff::ToWord(ChunkType::Extension) && chunk->size == 0) {
      findings.Warn(chunk->path, chunk->offset,
                    "an empty Extension after the clump's Extension; the game stops reading the "
                    "clump before it and other readers ignore it");
    } else {
      findings.Damage(chunk->path, chunk->offset,
                      "the game stops reading the clump at its Extension and never reads this "
                      "chunk, so what it holds (collision data, for one) is lost to the game; "
                      "move its contents into the clump's Extension");
    }
  }
}

}  // namespace

ClumpRecord DecodeClump(ByteSpan file, const Chunk& clumpChunk, Findings& findings) {
  ClumpRecord clump;
  clump.origin = OriginOf(clumpChunk);
  ReadingOrder order(clumpChunk, findings);
  if (const Chunk* structChunk = order.Next(ChunkType::Struct)) {
    DecodeClumpStruct(file, *structChunk, clump, findings);
  }
  if (const Chunk* frameList = order.Next(ChunkType::FrameList)) {
    clump.frames = DecodeFrameList(file, *frameList, findings);
  }
  if (const Chunk* geometryList = order.Next(ChunkType::GeometryList)) {
    clump.geometries = DecodeGeometryList(file, *geometryList, findings);
  }
  const std::vector<const Chunk*> atomics = ChildrenOfType(clumpChunk, ChunkType::Atomic);
  for (const Chunk* atomic : atomics) clump.atomics.push_back(DecodeAtomic(file, *atomic, findings));
  for (std::size_t i = 0; i < clump.atomicCount && i < atomics.size(); ++i) {
    order.Next(ChunkType::Atomic);
  }
  if (!clump.structOrigin.path.empty() && clump.atomicCount != clump.atomics.size()) {
    findings.Damage(clump.structOrigin.path, clump.structOrigin.offset + dff::kChunkHeaderSize,
                    "the clump declares " + std::to_string(clump.atomicCount) +
                        " atomics but holds " + std::to_string(clump.atomics.size()));
  }
  // Some tools write a second, empty Extension after the one that holds the
  // collision; every one of them is listed, and what the game leaves
  // unread is reported.
  for (const Chunk* extension : ChildrenOfType(clumpChunk, ChunkType::Extension)) {
    DecodeClumpExtension(*extension, clump);
  }
  if (order.Next(ChunkType::Extension) != nullptr) ReportUnreadChunks(order, findings);
  return clump;
}

}  // namespace dffinfo
