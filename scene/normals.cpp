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
void ComputeNormals(MeshObject& object) {
  std::vector<platform::Vec3f> sums(object.points.size());
  for (MeshPolygon& triangle : object.polygons) {
    const auto& c = triangle.corners;
    const platform::Vec3f& p0 = object.points[static_cast<std::size_t>(c[0])].position;
    const platform::Vec3f& p1 = object.points[static_cast<std::size_t>(c[1])].position;
    const platform::Vec3f& p2 = object.points[static_cast<std::size_t>(c[2])].position;
    triangle.faceNormal = platform::Vec3Normalize(Cross(Subtract(p1, p0), Subtract(p2, p0)));
    // A triangle that visits a point twice counts once for it.
    Accumulate(sums[static_cast<std::size_t>(c[0])], triangle.faceNormal);
    if (c[1] != c[0]) Accumulate(sums[static_cast<std::size_t>(c[1])], triangle.faceNormal);
    if (c[2] != c[0] && c[2] != c[1]) Accumulate(sums[static_cast<std::size_t>(c[2])], triangle.faceNormal);
  }
  for (std::size_t i = 0; i < sums.size(); ++i) object.points[i].normal = platform::Vec3Normalize(sums[i]);
}

}  // namespace scene
