#include "import_scene/layer_mesh.h"

#include <cstdint>
#include <cstring>
#include <string>
#include <unordered_map>
#include <vector>

#include "import_scene/widened.h"
#include "placement/lightwave_placement.h"

namespace import_scene {
namespace {

// Vertices compared by their bytes, keyed by their index so that no key is
// copied: by place (position, and normal where stored; -0 and +0 alike),
// or by everything (place and every UV and colour value).
class VertexBytes {
 public:
  VertexBytes(const import::Geometry& geometry, bool everything) : geometry_(geometry), everything_(everything) {}

  std::size_t operator()(std::uint32_t v) const {
    // 64-bit FNV-1a on every build; a 32-bit size_t keeps its low half.
    std::uint64_t hash = 1469598103934665603ull;
    Visit(v, [&](std::uint32_t word) { hash = (hash ^ word) * 1099511628211ull; });
    return static_cast<std::size_t>(hash);
  }
  bool operator()(std::uint32_t a, std::uint32_t b) const {
    std::vector<std::uint32_t>& words = scratch_;
    words.clear();
    Visit(a, [&](std::uint32_t word) { words.push_back(word); });
    std::size_t at = 0;
    bool same = true;
    Visit(b, [&](std::uint32_t word) { same = same && words[at++] == word; });
    return same;
  }

 private:
  template <class Each>
  void Visit(std::uint32_t v, Each each) const {
    auto bits = [](float value) {
      std::uint32_t word = 0;
      const float unsignedZero = value + 0.0f;
      std::memcpy(&word, &unsignedZero, sizeof word);
      return word;
    };
    for (float c : geometry_.positions[v]) each(bits(c));
    if (v < geometry_.normals.size()) {
      for (float c : geometry_.normals[v]) each(bits(c));
    }
    if (!everything_) return;
    for (const auto& set : geometry_.uvSets) {
      each(bits(set[v][0]));
      each(bits(set[v][1]));
    }
    auto color = [](const import::Rgba& c) {
      return std::uint32_t{c[0]} | std::uint32_t{c[1]} << 8 | std::uint32_t{c[2]} << 16 | std::uint32_t{c[3]} << 24;
    };
    if (!geometry_.dayColors.empty()) each(color(geometry_.dayColors[v]));
    if (!geometry_.nightColors.empty()) each(color(geometry_.nightColors[v]));
  }

  const import::Geometry& geometry_;
  bool everything_;
  mutable std::vector<std::uint32_t> scratch_;
};

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
  const VertexBytes place(geometry, false);
  const VertexBytes everything(geometry, true);
  const std::size_t n = geometry.positions.size();
  // The first point at each place (by a vertex there); the later ones,
  // which only vertices alike in everything need, by place and number.
  std::unordered_map<std::uint32_t, std::pair<int, std::size_t>, VertexBytes, VertexBytes> firstAt(n, place, place);
  std::unordered_map<std::uint64_t, int> laterAt;
  std::unordered_map<std::uint32_t, std::size_t, VertexBytes, VertexBytes> kindCount(n, everything, everything);
  std::vector<int> points(n);
  for (std::uint32_t v = 0; v < n; ++v) {
    const auto at = firstAt.try_emplace(v, -1, 0).first;
    auto& [firstPoint, pointCount] = at->second;
    const std::size_t earlier = kindCount[v]++;
    if (earlier == pointCount) {
      const int made = static_cast<int>(mesh.points.size());
      mesh.points.push_back(ToLayout(geometry.positions[v]));
      if (pointCount == 0) {
        firstPoint = made;
      } else {
        laterAt.emplace(std::uint64_t{at->first} << 32 | pointCount, made);
      }
      ++pointCount;
    }
    points[v] = earlier == 0 ? firstPoint : laterAt.at(std::uint64_t{at->first} << 32 | earlier);
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
