#include "import/collision_entry.h"

namespace import {
namespace {

// COL2 and COL3 store vertices as metres x 128.
constexpr float kVertexScale = 1.0f / 128.0f;

CollisionMesh ToMesh(const dffinfo::ColMesh& stored) {
  CollisionMesh mesh;
  mesh.vertices.reserve(stored.vertices.size());
  for (const dffinfo::ColVertex& v : stored.vertices) {
    mesh.vertices.push_back({v[0] * kVertexScale, v[1] * kVertexScale, v[2] * kVertexScale});
  }
  for (const dffinfo::ColFace& f : stored.faces) mesh.faces.push_back({{f.a, f.b, f.c}, f.material});
  return mesh;
}

// COLL keeps metres and 32-bit corners; a corner beyond 16 bits would have
// no vertex the game could index either, so such faces are left out.
CollisionMesh ToMesh(const dffinfo::ColLegacyMesh& stored) {
  CollisionMesh mesh;
  mesh.vertices = stored.vertices;
  for (const dffinfo::ColLegacyFace& f : stored.faces) {
    if (f.corners[0] > 0xFFFF || f.corners[1] > 0xFFFF || f.corners[2] > 0xFFFF) continue;
    mesh.faces.push_back({{static_cast<std::uint16_t>(f.corners[0]), static_cast<std::uint16_t>(f.corners[1]),
                           static_cast<std::uint16_t>(f.corners[2])},
                          f.surface.material});
  }
  return mesh;
}

}  // namespace

Collision ToCollision(const dffinfo::ColEntryRecord& entry, const std::uint8_t* bytes, std::size_t size) {
  Collision collision;
  collision.name = entry.name;
  for (const dffinfo::ColSphere& s : entry.spheres) collision.spheres.push_back({s.centre, s.radius, s.surface.material});
  for (const dffinfo::ColBox& b : entry.boxes) collision.boxes.push_back({b.min, b.max, b.surface.material});
  collision.mesh = entry.version == 1 ? ToMesh(entry.legacyMesh) : ToMesh(entry.mesh);
  collision.shadow = ToMesh(entry.shadow);
  collision.bytes.assign(bytes, bytes + size);
  return collision;
}

}  // namespace import
