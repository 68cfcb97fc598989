#include <array>
#include <cstdint>
#include <vector>

#include "lwsdk/mesh_info.h"
#include "scene/geometry_steps.h"
#include "scene/point_finder.h"
#include "scene/triangulate.h"

namespace scene {
namespace {

// The most vertices an object file can give one polygon (a 10-bit count);
// a larger size is not a real polygon.  Fits the 16 bits a size is kept in.
constexpr int kMaxPolygonSize = 1023;

// Beyond this, a count the snapshot reports reserves nothing ahead: a
// host that miscounts then costs some regrowth, never a failed allocation.
constexpr int kMostReserved = 1 << 24;

// The room to reserve for a list that the snapshot says will hold `count`
// entries; the scan alone decides what the list holds.
std::size_t ReservedRoom(int count) {
  return count > 0 && count <= kMostReserved ? static_cast<std::size_t>(count) : 0;
}

size_t LWCALL CollectPoint(void* data, LWPntID id) {
  auto& points = *static_cast<std::vector<MeshPoint>*>(data);
  MeshPoint point;
  point.pointId = id;
  points.push_back(point);
  return 0;
}

size_t LWCALL CollectPolygon(void* data, LWPolID polygon) {
  static_cast<std::vector<LWPolID>*>(data)->push_back(polygon);
  return 0;
}

bool IsSurfacePolygon(LWID type) {
  return type == LWPOLTYPE_FACE || type == LWPOLTYPE_PTCH || type == LWPOLTYPE_SUBD;
}

// Appends the point indices of a polygon's vertices, in host order, to
// `indices`.  False, with `indices` as it was, when the polygon is not one
// to export (curves, bones, metaballs, fewer than three vertices) or names
// a point that the scan did not report.
bool ReadPolygonPoints(LWMeshInfoID mesh, LWPolID polygon, const PointFinder& finder,
                       std::vector<std::int32_t>& indices) {
  if (!IsSurfacePolygon(mesh->polType(mesh, polygon))) return false;
  const int size = mesh->polSize(mesh, polygon);
  if (size < 3 || size > kMaxPolygonSize) return false;
  const std::size_t start = indices.size();
  for (int vertex = 0; vertex < size; ++vertex) {
    const std::int32_t point = finder.Find(mesh->polVertex(mesh, polygon, vertex));
    if (point < 0) {
      indices.resize(start);
      return false;
    }
    indices.push_back(point);
  }
  return true;
}

MeshPolygon MakeTriangle(LWPolID polygon, std::int32_t a, std::int32_t b, std::int32_t c) {
  MeshPolygon triangle;
  // Host vertices a, b, c become corners c, b, a: the axis change mirrors
  // the mesh, and reversing the corners keeps the faces pointing outward.
  triangle.corners = {c, b, a};
  triangle.polygonId = polygon;
  return triangle;
}

// The triangles of one polygon in host vertex numbering, in the order that
// they are written.  `indices` are its `count` point indices.
void SplitPolygon(const MeshObject& object, const std::int32_t* indices, std::size_t count,
                  PolygonTriangulator& triangulator, std::vector<platform::Vec3f>& outline,
                  std::vector<std::array<std::int32_t, 3>>& triangles) {
  triangles.clear();
  if (count == 3) {
    triangles.push_back({0, 1, 2});
    return;
  }
  outline.clear();
  for (std::size_t i = 0; i < count; ++i) outline.push_back(object.points[static_cast<std::size_t>(indices[i])].position);
  triangulator.Triangulate(outline, triangles);
}

}  // namespace

void ReadPoints(MeshObject& object, LWMeshInfoID mesh) {
  object.points.reserve(ReservedRoom(mesh->numPoints(mesh)));
  mesh->scanPoints(mesh, CollectPoint, &object.points);
  for (MeshPoint& point : object.points) {
    LWFVector host{0.0f, 0.0f, 0.0f};
    mesh->pntBasePos(mesh, point.pointId, host);
    point.position = {-host[0], -host[2], host[1]};
  }
}

// Every polygon's points are read first, so that the triangle list is
// allocated once at its final size: a polygon of n points gives n - 2.
void ReadTriangles(MeshObject& object, LWMeshInfoID mesh) {
  std::vector<LWPolID> ids;
  ids.reserve(ReservedRoom(mesh->numPolygons(mesh)));
  mesh->scanPolys(mesh, CollectPolygon, &ids);
  const PointFinder finder(object.points);
  // The exported polygons move to the front of `ids`, their sizes to
  // `sizes` and their points, one polygon after another, to `indices`
  // (room for quads, the usual polygon, from the start).
  std::vector<std::int32_t> indices;
  indices.reserve(4 * ids.size());
  std::vector<std::uint16_t> sizes;
  sizes.reserve(ids.size());
  std::size_t exported = 0;
  for (LWPolID polygon : ids) {
    const std::size_t before = indices.size();
    if (!ReadPolygonPoints(mesh, polygon, finder, indices)) continue;
    ids[exported++] = polygon;
    sizes.push_back(static_cast<std::uint16_t>(indices.size() - before));
  }
  object.polygons.reserve(indices.size() - 2 * exported);

  PolygonTriangulator triangulator;
  std::vector<platform::Vec3f> outline;
  std::vector<std::array<std::int32_t, 3>> triangles;
  const std::int32_t* points = indices.data();
  for (std::size_t k = 0; k < exported; ++k) {
    SplitPolygon(object, points, sizes[k], triangulator, outline, triangles);
    for (const auto& t : triangles) {
      object.polygons.push_back(MakeTriangle(ids[k], points[t[0]], points[t[1]], points[t[2]]));
    }
    points += sizes[k];
  }
  object.triangleCount = static_cast<std::int32_t>(object.polygons.size());
}

}  // namespace scene
