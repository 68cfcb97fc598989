#include <cstddef>

#include "platform/matrix.h"
#include "scene/geometry_steps.h"

namespace scene {
namespace {

platform::Vec3f Subtract(const platform::Vec3f& a, const platform::Vec3f& b) {
  return {a.x - b.x, a.y - b.y, a.z - b.z};
}

platform::Vec3f Cross(const platform::Vec3f& a, const platform::Vec3f& b) {
  return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

void Accumulate(platform::Vec3f& sum, const platform::Vec3f& value) {
  sum.x += value.x;
  sum.y += value.y;
  sum.z += value.z;
}

}  // namespace

// Summing triangle by triangle adds each point's face normals in triangle
// order, the same order as going through the triangles that use the point.
// The sums are kept in the points' own normals, which ReadPoints leaves
// at zero, and a face normal is needed only here: neither gets a list of
// its own.
void ComputeNormals(MeshObject& object) {
  for (const MeshPolygon& triangle : object.polygons) {
    const auto& c = triangle.corners;
    MeshPoint& a = object.points[static_cast<std::size_t>(c[0])];
    MeshPoint& b = object.points[static_cast<std::size_t>(c[1])];
    MeshPoint& d = object.points[static_cast<std::size_t>(c[2])];
    const platform::Vec3f face =
        platform::Vec3Normalize(Cross(Subtract(b.position, a.position), Subtract(d.position, a.position)));
    // A triangle that visits a point twice counts once for it.
    Accumulate(a.normal, face);
    if (c[1] != c[0]) Accumulate(b.normal, face);
    if (c[2] != c[0] && c[2] != c[1]) Accumulate(d.normal, face);
  }
  for (MeshPoint& point : object.points) point.normal = platform::Vec3Normalize(point.normal);
}

}  // namespace scene
