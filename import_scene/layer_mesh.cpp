#include "import_scene/layer_mesh.h"

#include <string>
#include <unordered_map>

#include "import_scene/widened.h"
#include "placement/lightwave_placement.h"

namespace import_scene {
namespace {

// A vertex's bytes, for welding: its position and normal, and its values
// in the UV and colour maps.
using VertexBytes = std::string;

template <class T>
void Append(VertexBytes& bytes, const T& value) {
  bytes.append(reinterpret_cast<const char*>(&value), sizeof value);
}

// -0 and +0 are one position.
VertexBytes PlaceBytes(const import::Geometry& geometry, std::size_t v) {
  VertexBytes key;
  for (std::size_t i = 0; i < 3; ++i) Append(key, geometry.positions[v][i] + 0.0f);
  if (v < geometry.normals.size()) {
    for (std::size_t i = 0; i < 3; ++i) Append(key, geometry.normals[v][i] + 0.0f);
  }
  return key;
}

VertexBytes AllBytes(const import::Geometry& geometry, std::size_t v) {
  VertexBytes key = PlaceBytes(geometry, v);
  for (const auto& set : geometry.uvSets) Append(key, set[v]);
  if (!geometry.dayColors.empty()) Append(key, geometry.dayColors[v]);
  if (!geometry.nightColors.empty()) Append(key, geometry.nightColors[v]);
  return key;
}

std::array<float, 3> ToLayout(const import::Vec3& game) {
  const placement::Vec3 layout = placement::FromGameAxes(Widened(game));
  return {static_cast<float>(layout[0]), static_cast<float>(layout[1]), static_cast<float>(layout[2])};
}

// The point of each vertex, adding points to `mesh` in vertex order.  The
// export makes one vertex of the corners of a point whose values agree, so
// two vertices alike in everything came from two points: the k-th vertex
// of a kind goes to the k-th point at its place, and only vertices that
// differ share a point.
std::vector<int> WeldVertices(const import::Geometry& geometry, host::Mesh& mesh) {
  std::unordered_map<VertexBytes, std::vector<int>> pointsAt;
  std::unordered_map<VertexBytes, std::size_t> kindCount;
  pointsAt.reserve(geometry.positions.size());
  kindCount.reserve(geometry.positions.size());
  std::vector<int> points(geometry.positions.size());
  for (std::size_t v = 0; v < geometry.positions.size(); ++v) {
    std::vector<int>& here = pointsAt[PlaceBytes(geometry, v)];
    const std::size_t earlier = kindCount[AllBytes(geometry, v)]++;
    if (earlier == here.size()) {
      here.push_back(static_cast<int>(mesh.points.size()));
      mesh.points.push_back(ToLayout(geometry.positions[v]));
    }
    points[v] = here[earlier];
  }
  return points;
}

// A map with one value per vertex, `value(v, out)` writing `dimension`
// floats: each point takes its first vertex's value, and a corner whose
// vertex differs from it gets the polygon's own value.
template <class Value>
host::UvMap VertexMap(const import::Geometry& geometry, const std::vector<int>& pointOfVertex,
                      std::size_t pointCount, int dimension, Value value) {
  host::UvMap map;
  map.dimension = dimension;
  std::vector<int> vertexOfPoint(pointCount, -1);
  for (std::size_t v = 0; v < pointOfVertex.size(); ++v) {
    int& first = vertexOfPoint[static_cast<std::size_t>(pointOfVertex[v])];
    if (first < 0) first = static_cast<int>(v);
  }
  const std::size_t d = static_cast<std::size_t>(dimension);
  std::vector<float> own(d), corner(d);
  for (std::size_t p = 0; p < pointCount; ++p) {
    if (vertexOfPoint[p] < 0) continue;
    value(static_cast<std::size_t>(vertexOfPoint[p]), own.data());
    map.pointValues.Set(static_cast<int>(p), own.data(), d);
  }
  for (std::size_t t = 0; t < geometry.triangles.size(); ++t) {
    for (std::uint16_t v : geometry.triangles[t].corners) {
      const int point = pointOfVertex[v];
      const int first = vertexOfPoint[static_cast<std::size_t>(point)];
      if (first == v) continue;
      value(static_cast<std::size_t>(first), own.data());
      value(v, corner.data());
      if (own != corner) map.polygonValues.Set({point, static_cast<int>(t)}, corner.data(), d);
    }
  }
  return map;
}

host::UvMap ColorMap(const import::Geometry& geometry, const std::vector<import::Rgba>& colors,
                     const std::vector<int>& pointOfVertex, std::size_t pointCount, const char* name) {
  host::UvMap map = VertexMap(geometry, pointOfVertex, pointCount, 4, [&](std::size_t v, float* out) {
    for (std::size_t i = 0; i < 4; ++i) out[i] = static_cast<float>(colors[v][i] / 255.0);
  });
  map.name = name;
  map.type = host::kVertexMapRgba;
  return map;
}

}  // namespace

std::string UvMapName(std::size_t set) { return "uv" + std::to_string(set + 1); }

host::Mesh LayerMesh(const import::Geometry& geometry, const std::vector<std::string>& surfaceOfSlot) {
  host::Mesh mesh;
  const std::vector<int> pointOfVertex = WeldVertices(geometry, mesh);
  mesh.polygons.reserve(geometry.triangles.size());
  for (const import::Triangle& t : geometry.triangles) {
    host::Polygon polygon;
    polygon.points = {pointOfVertex[t.corners[2]], pointOfVertex[t.corners[1]], pointOfVertex[t.corners[0]]};
    if (t.material < surfaceOfSlot.size()) polygon.surface = surfaceOfSlot[t.material];
    mesh.polygons.push_back(std::move(polygon));
  }
  const std::size_t points = mesh.points.size();
  for (std::size_t set = 0; set < geometry.uvSets.size(); ++set) {
    const std::vector<import::Vec2>& uvs = geometry.uvSets[set];
    host::UvMap map = VertexMap(geometry, pointOfVertex, points, 2, [&](std::size_t v, float* out) {
      // The game's images start at the top, LightWave's at the bottom.
      out[0] = uvs[v][0];
      out[1] = 1.0f - uvs[v][1];
    });
    map.name = UvMapName(set);
    mesh.uvMaps.push_back(std::move(map));
  }
  if (!geometry.dayColors.empty()) {
    mesh.colorMaps.push_back(ColorMap(geometry, geometry.dayColors, pointOfVertex, points, kDayColorMap));
  }
  if (!geometry.nightColors.empty()) {
    mesh.colorMaps.push_back(ColorMap(geometry, geometry.nightColors, pointOfVertex, points, kNightColorMap));
  }
  return mesh;
}

}  // namespace import_scene
