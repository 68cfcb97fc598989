// The entries of a COL file (or of a DFF's embedded collision) as the game
// reads them, decoded from their bytes.  Values are kept as stored; offsets
// named "...Offset" are the header's, counted from the byte after the
// entry's fourcc, and 0 for an absent block.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "dff_inspect/records.h"

namespace dffinfo {

struct ColSurface {
  std::uint8_t material = 0;
  std::uint8_t piece = 0;
  std::uint8_t brightness = 0;
  std::uint8_t light = 0;
};

struct ColSphere {
  Vec3 centre{};
  float radius = 0.0f;
  ColSurface surface;
};

struct ColBox {
  Vec3 min{};
  Vec3 max{};
  ColSurface surface;
};

// Stored as metres x 128.
using ColVertex = std::array<std::int16_t, 3>;

struct ColFace {
  std::uint16_t a = 0;
  std::uint16_t b = 0;
  std::uint16_t c = 0;
  std::uint8_t material = 0;
  std::uint8_t light = 0;
};

struct ColFaceGroup {
  Vec3 min{};
  Vec3 max{};
  std::uint16_t first = 0;
  std::uint16_t last = 0;
};

// A mesh's vertex count is not stored: it is the largest face index + 1.
struct ColMesh {
  std::vector<ColVertex> vertices;
  std::vector<ColFace> faces;
};

// COLL (version 1): counted vertices in metres, and faces with 32-bit
// indices and a whole surface record.
struct ColLegacyFace {
  std::array<std::uint32_t, 3> corners{};
  ColSurface surface;
};

struct ColLegacyMesh {
  std::vector<Vec3> vertices;
  std::vector<ColLegacyFace> faces;
};

struct ColEntryRecord {
  Origin origin;             // e.g. COL3[2], at the entry's fourcc
  std::string fourcc;        // COLL, COL2, COL3 or COL4
  int version = 0;           // 1..4
  std::uint32_t size = 0;    // bytes after the size field
  std::string name;          // up to the first zero byte
  std::uint16_t modelId = 0;
  // COLL, COL2 and COL3 entries are decoded whole; COL4 by its name.
  bool decoded = false;

  Vec3 boxMin{};
  Vec3 boxMax{};
  Vec3 sphereCentre{};
  float sphereRadius = 0.0f;
  // COL2 and COL3 (COLL counts are the sizes of the vectors below).
  std::uint16_t sphereCount = 0;
  std::uint16_t boxCount = 0;
  std::uint16_t faceCount = 0;
  std::uint8_t lineCount = 0;
  std::uint32_t flags = 0;
  std::uint32_t sphereOffset = 0;
  std::uint32_t boxOffset = 0;
  std::uint32_t lineOffset = 0;
  std::uint32_t vertexOffset = 0;
  std::uint32_t faceOffset = 0;
  std::uint32_t planeOffset = 0;
  std::uint32_t shadowFaceCount = 0;  // COL3
  std::uint32_t shadowVertexOffset = 0;
  std::uint32_t shadowFaceOffset = 0;

  std::vector<ColSphere> spheres;
  std::vector<ColBox> boxes;
  ColMesh mesh;
  std::vector<ColFaceGroup> faceGroups;
  ColMesh shadow;
  ColLegacyMesh legacyMesh;  // COLL only; its counts are the vectors' sizes
};

}  // namespace dffinfo
