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

  const Chunk* structChunk = RequireStruct(list, findings);
  if (structChunk == nullptr) return geometries;
  const Origin origin = OriginOf(*structChunk);
  ByteReader reader = PayloadReader(file, *structChunk);
  if (!Need(reader, origin, "geometry count", 1, 4, findings)) return geometries;
  const std::uint32_t count = reader.U32();
  ExpectConsumed(reader, origin, findings);
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

}  // namespace

ClumpRecord DecodeClump(ByteSpan file, const Chunk& clumpChunk, Findings& findings) {
  ClumpRecord clump;
  clump.origin = OriginOf(clumpChunk);
  if (const Chunk* structChunk = RequireStruct(clumpChunk, findings)) {
    DecodeClumpStruct(file, *structChunk, clump, findings);
  }
  if (const Chunk* frameList = FindChild(clumpChunk, ChunkType::FrameList)) {
    clump.frames = DecodeFrameList(file, *frameList, findings);
  } else {
    findings.Damage(clump.origin.path, clump.origin.offset, "the clump holds no FrameList");
  }
  if (const Chunk* geometryList = FindChild(clumpChunk, ChunkType::GeometryList)) {
    clump.geometries = DecodeGeometryList(file, *geometryList, findings);
  } else {
    findings.Damage(clump.origin.path, clump.origin.offset, "the clump holds no GeometryList");
  }
  for (const Chunk* atomic : ChildrenOfType(clumpChunk, ChunkType::Atomic)) {
    clump.atomics.push_back(DecodeAtomic(file, *atomic, findings));
  }
  // Some tools write a second, empty Extension after the one that holds the
  // collision; every one of them is read.
  for (const Chunk* extension : ChildrenOfType(clumpChunk, ChunkType::Extension)) {
    DecodeClumpExtension(*extension, clump);
  }
  if (!clump.structOrigin.path.empty() && clump.atomicCount != clump.atomics.size()) {
    findings.Damage(clump.structOrigin.path, clump.structOrigin.offset + dff::kChunkHeaderSize,
                    "the clump declares " + std::to_string(clump.atomicCount) +
                        " atomics but holds " + std::to_string(clump.atomics.size()));
  }
  return clump;
}

}  // namespace dffinfo
