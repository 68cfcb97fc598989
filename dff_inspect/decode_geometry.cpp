#include "dff_inspect/chunk_names.h"
#include "dff_inspect/decoders.h"

namespace dffinfo {
namespace {

using dff::ChunkType;

// Libraries before 3.4 store the geometry's surface properties in its Struct.
constexpr std::uint32_t kFirstVersionWithoutGeometrySurface = 0x34000;

// The number of UV sets a reader takes from the format word.  A count byte
// of 0 with a textured flag is what some old files carry; the common readers
// then take one set for TEXTURED and two for TEXTURED2 alone.
std::uint32_t UvSetsToRead(std::uint32_t format) {
  const std::uint32_t countByte = (format >> 16) & 0xFFu;
  if (countByte != 0) return countByte;
  if (format & kTextured) return 1;
  if (format & kTextured2) return 2;
  return 0;
}

Vec3 ReadVec3(ByteReader& reader) {
  Vec3 v;
  for (float& value : v) value = reader.F32();
  return v;
}

bool ReadVertexData(ByteReader& reader, GeometryRecord& g, Findings& findings) {
  const Origin& origin = g.structOrigin;
  const std::uint64_t v = g.vertexCount;
  if (g.format & kPrelit) {
    if (!Need(reader, origin, "prelight colours", v, 4, findings)) return false;
    g.prelight.resize(g.vertexCount);
    for (Rgba& colour : g.prelight) {
      for (std::uint8_t& channel : colour) channel = reader.U8();
    }
  }
  if (!Need(reader, origin, "UV sets", g.uvSetsRead * v, 8, findings)) return false;
  g.uvSets.resize(g.uvSetsRead);
  for (std::vector<Vec2>& set : g.uvSets) {
    set.resize(g.vertexCount);
    for (Vec2& uv : set) uv = {reader.F32(), reader.F32()};
  }
  if (!Need(reader, origin, "triangles", g.triangleCount, 8, findings)) return false;
  g.trianglesOffset = reader.offset();
  g.triangles.resize(g.triangleCount);
  for (Triangle& t : g.triangles) {
    t.b = reader.U16();
    t.a = reader.U16();
    t.material = reader.U16();
    t.c = reader.U16();
  }
  return true;
}

bool ReadMorphTarget(ByteReader& reader, GeometryRecord& g, Findings& findings) {
  const Origin& origin = g.structOrigin;
  if (!Need(reader, origin, "morph target header", 1, 24, findings)) return false;
  MorphTarget target;
  target.sphereOffset = reader.offset();
  target.sphereCentre = ReadVec3(reader);
  target.sphereRadius = reader.F32();
  target.hasPositions = reader.U32() != 0;
  target.hasNormals = reader.U32() != 0;
  if (target.hasPositions) {
    if (!Need(reader, origin, "positions", g.vertexCount, 12, findings)) return false;
    target.positions.resize(g.vertexCount);
    for (Vec3& p : target.positions) p = ReadVec3(reader);
  }
  if (target.hasNormals) {
    if (!Need(reader, origin, "normals", g.vertexCount, 12, findings)) return false;
    target.normals.resize(g.vertexCount);
    for (Vec3& n : target.normals) n = ReadVec3(reader);
  }
  g.morphTargets.push_back(std::move(target));
  return true;
}

void DecodeGeometryStruct(ByteSpan file, const Chunk& geometry, const Chunk& structChunk,
                          GeometryRecord& g, Findings& findings) {
  g.structOrigin = OriginOf(structChunk);
  ByteReader reader = PayloadReader(file, structChunk);
  if (!Need(reader, g.structOrigin, "format and counts", 1, 16, findings)) return;
  g.format = reader.U32();
  g.triangleCount = reader.U32();
  g.vertexCount = reader.U32();
  g.morphTargetCount = reader.U32();
  g.uvSetsRead = UvSetsToRead(g.format);
  if (UnpackVersion(geometry.version).version < kFirstVersionWithoutGeometrySurface) {
    if (!Need(reader, g.structOrigin, "surface properties", 3, 4, findings)) return;
    g.surface = SurfaceProperties{reader.F32(), reader.F32(), reader.F32()};
  }
  // A native geometry keeps its vertices in platform data elsewhere.
  if (!g.native() && !ReadVertexData(reader, g, findings)) return;
  for (std::uint32_t i = 0; i < g.morphTargetCount; ++i) {
    if (!ReadMorphTarget(reader, g, findings)) return;
  }
  ExpectConsumed(reader, g.structOrigin, findings);
}

BinMeshRecord DecodeBinMesh(ByteSpan file, const Chunk& chunk, bool native, Findings& findings) {
  BinMeshRecord mesh;
  mesh.origin = OriginOf(chunk);
  ByteReader reader = PayloadReader(file, chunk);
  if (!Need(reader, mesh.origin, "header", 1, 12, findings)) return mesh;
  mesh.flags = reader.U32();
  mesh.splitCount = reader.U32();
  mesh.totalIndexCount = reader.U32();
  for (std::uint32_t i = 0; i < mesh.splitCount; ++i) {
    if (!Need(reader, mesh.origin, "split " + std::to_string(i), 1, 8, findings)) return mesh;
    BinMeshSplit split;
    split.offset = reader.offset();
    split.indexCount = reader.U32();
    split.material = reader.U32();
    // The indices of a native geometry live in its platform data.
    if (!native) {
      if (!Need(reader, mesh.origin, "indices of split " + std::to_string(i), split.indexCount, 4,
                findings)) {
        return mesh;
      }
      split.indices.resize(split.indexCount);
      for (std::uint32_t& index : split.indices) index = reader.U32();
    }
    mesh.splits.push_back(std::move(split));
  }
  ExpectConsumed(reader, mesh.origin, findings);
  return mesh;
}

// The size of a breakable record whose flag is set, from the counts in its
// header: positions, UVs and colours per vertex, corners and a material per
// triangle, and per material a texture name, a mask name and an ambient
// colour.
std::uint64_t BreakableSize(std::uint32_t vertices, std::uint32_t triangles,
                            std::uint32_t materials) {
  constexpr std::uint64_t kFlagAndHeader = 4 + 52;
  return kFlagAndHeader + (12 + 8 + 4) * std::uint64_t{vertices} +
         (6 + 2) * std::uint64_t{triangles} + (32 + 32 + 12) * std::uint64_t{materials};
}

// The game reads the breakable flag whatever the size says, and with a
// flag set the header and the arrays it counts; it trusts the record to end
// there.  A record of another size leaves it reading the wrong bytes for
// every chunk after it.
std::optional<std::uint32_t> DecodeBreakableWord(ByteSpan file, const Chunk& chunk,
                                                 Findings& findings) {
  ByteReader reader = PayloadReader(file, chunk);
  const Origin origin = OriginOf(chunk);
  if (!Need(reader, origin, "breakable flag", 1, 4, findings)) return std::nullopt;
  const std::uint32_t flag = reader.U32();
  if (flag == 0) {
    ExpectSize(chunk, 4, findings);
    return flag;
  }
  if (!Need(reader, origin, "breakable header", 1, 52, findings)) return flag;
  reader.Skip(4);  // position rule
  const std::uint32_t vertices = reader.U16();
  reader.Skip(2 + 12);
  const std::uint32_t triangles = reader.U16();
  reader.Skip(2 + 8);
  const std::uint32_t materials = reader.U16();
  const std::uint64_t size = BreakableSize(vertices, triangles, materials);
  if (chunk.size != size) {
    findings.Damage(origin.path, origin.offset,
                    "the breakable record is " + std::to_string(chunk.size) +
                        " bytes long, but the game reads " + std::to_string(size) + " for " +
                        std::to_string(vertices) + " vertices, " + std::to_string(triangles) +
                        " triangles and " + std::to_string(materials) +
                        " materials, and loses its place in the file after it");
  }
  return flag;
}

// The game reads the "has colours" word and, when it is not zero, one
// colour per vertex, whatever the record's size; the colours decoded here
// are those the record holds.
NightColorsRecord DecodeNightColors(ByteSpan file, const Chunk& chunk, Findings& findings) {
  NightColorsRecord record;
  record.origin = OriginOf(chunk);
  record.size = chunk.size;
  ByteReader reader = PayloadReader(file, chunk);
  if (!Need(reader, record.origin, "night colour flag", 1, 4, findings)) return record;
  record.hasColors = reader.U32();
  record.colors.resize(reader.remaining() / 4);
  for (Rgba& colour : record.colors) {
    for (std::uint8_t& channel : colour) channel = reader.U8();
  }
  return record;
}

void DecodeGeometryExtension(ByteSpan file, const Chunk& extension, GeometryRecord& g,
                             Findings& findings) {
  for (const Chunk& plugin : extension.children) {
    if (plugin.type == dff::ToWord(ChunkType::BinMesh)) {
      g.binMesh = DecodeBinMesh(file, plugin, g.native(), findings);
    } else if (plugin.type == dff::ToWord(ChunkType::GeometryExtra)) {
      g.breakable = DecodeBreakableWord(file, plugin, findings);
    } else if (plugin.type == dff::ToWord(ChunkType::NightColors)) {
      g.nightColors = DecodeNightColors(file, plugin, findings);
    } else if (plugin.type == dff::ToWord(ChunkType::Effects2d)) {
      g.effects = DecodeEffects2d(file, plugin, g, findings);
    } else {
      g.otherPlugins.push_back(plugin.type);
    }
  }
}

}  // namespace

GeometryRecord DecodeGeometry(ByteSpan file, const Chunk& geometry, Findings& findings) {
  GeometryRecord g;
  g.origin = OriginOf(geometry);
  ReadingOrder order(geometry, findings);
  if (const Chunk* structChunk = order.Next(ChunkType::Struct)) {
    DecodeGeometryStruct(file, geometry, *structChunk, g, findings);
  }
  if (const Chunk* list = order.Next(ChunkType::MaterialList)) {
    g.materialList = DecodeMaterialList(file, *list, findings);
  }
  if (const Chunk* extension = order.Next(ChunkType::Extension)) {
    DecodeGeometryExtension(file, *extension, g, findings);
  }
  return g;
}

}  // namespace dffinfo
