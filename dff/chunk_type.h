// RenderWare binary stream chunk framing shared by the writer and by every
// reader of ours (brasko, dffinfo).
#pragma once

#include <cstdint>

namespace dff {

// Every chunk starts with three little-endian 32-bit words.
struct ChunkHeader {
  std::uint32_t type = 0;
  std::uint32_t size = 0;  // payload bytes after the header, nested chunks included
  std::uint32_t version = 0;
};

constexpr std::uint32_t kChunkHeaderSize = 12;

// RenderWare 3.6.0.3, build 0xFFFF: the stamp written into every chunk.
constexpr std::uint32_t kLibraryVersion = 0x1803FFFFu;

// The chunk type numbers the system writes or looks for.
enum class ChunkType : std::uint32_t {
  Struct = 0x00000001,
  String = 0x00000002,
  Extension = 0x00000003,
  Texture = 0x00000006,
  Material = 0x00000007,
  MaterialList = 0x00000008,
  FrameList = 0x0000000E,
  Geometry = 0x0000000F,
  Clump = 0x00000010,
  Atomic = 0x00000014,
  TextureNative = 0x00000015,
  TextureDictionary = 0x00000016,
  GeometryList = 0x0000001A,
  RightToRender = 0x0000001F,
  MaterialEffects = 0x00000120,
  BinMesh = 0x0000050E,
  SpecularMaterial = 0x0253F2F6,
  // The game's 2d effects of a map object's geometry: lights, particles.
  Effects2d = 0x0253F2F8,
  // The Extra Vert Colour record: a geometry's night colours.
  NightColors = 0x0253F2F9,
  Collision = 0x0253F2FA,
  ReflectionMaterial = 0x0253F2FC,
  GeometryExtra = 0x0253F2FD,
  FrameName = 0x0253F2FE,
  // The collision record some tools write for models that are not vehicles.
  CollisionAlternative = 0x0253F2FF,
};

constexpr std::uint32_t ToWord(ChunkType type) { return static_cast<std::uint32_t>(type); }

// The name of a chunk type for listings, or nullptr for a type this table
// does not know.
const char* ChunkTypeName(std::uint32_t type);

inline bool IsCollisionChunk(std::uint32_t type) {
  return type == ToWord(ChunkType::Collision) ||
         type == ToWord(ChunkType::CollisionAlternative);
}

}  // namespace dff
