// One collision entry exactly as a COL3 file stores it: the model's name,
// its bounds, its primitives and its two meshes with vertices already in
// the file's 16-bit form.  The builder (entry_builder.h) makes one from
// triangles in metres; the writer (col3_writer.h) lays it out in bytes.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace col {

using Vec3 = std::array<float, 3>;

// A vertex as stored: metres x 128, so steps of 1/128 m.
using PackedVertex = std::array<std::int16_t, 3>;
inline constexpr double kUnitsPerMetre = 128.0;

// The four bytes spheres and boxes carry: surface type, vehicle piece, the
// lighting byte the game reads for primitives, and one it never reads.
struct SurfaceRecord {
  std::uint8_t material = 0;
  std::uint8_t piece = 0;
  std::uint8_t brightness = 0;
  std::uint8_t light = 0;
};

struct Sphere {
  Vec3 centre{};
  float radius = 0.0f;
  SurfaceRecord surface;
};

struct Box {
  Vec3 min{};
  Vec3 max{};
  SurfaceRecord surface;
};

// Corners a, b, c run clockwise seen from outside the solid: the game
// takes (c - a) x (b - a) as the outward normal.
struct Face {
  std::uint16_t a = 0;
  std::uint16_t b = 0;
  std::uint16_t c = 0;
  std::uint8_t material = 0;  // surface type 0..178
  std::uint8_t light = 0xFF;  // day level in the low nibble, night in the high
};

// A run of faces (first..last inclusive) and the box that holds them, so
// that the game can skip the whole run when a test misses the box.
struct FaceGroup {
  Vec3 min{};
  Vec3 max{};
  std::uint16_t first = 0;
  std::uint16_t last = 0;
};

// Files do not store a vertex count: readers take the largest index + 1,
// so every vertex must be used by some face.
struct Mesh {
  std::vector<PackedVertex> vertices;
  std::vector<Face> faces;
};

struct Bounds {
  Vec3 min{};
  Vec3 max{};
  Vec3 centre{};
  float radius = 0.0f;
};

inline constexpr std::size_t kMaxNameBytes = 21;  // plus the terminating zero
inline constexpr std::size_t kMaxFaces = 65535;
// Indices are 16 bits; some tools read them as signed.
inline constexpr std::size_t kMaxVertices = 32767;

struct Entry {
  std::string name;  // the model's name: the game finds the entry by it
  std::uint16_t modelId = 0;
  Bounds bounds;
  std::vector<Sphere> spheres;
  std::vector<Box> boxes;
  Mesh mesh;
  std::vector<FaceGroup> faceGroups;  // over mesh.faces; empty for none
  Mesh shadow;

  bool HasCollision() const { return !spheres.empty() || !boxes.empty() || !mesh.faces.empty(); }
};

}  // namespace col
