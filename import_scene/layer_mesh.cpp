#include "import_scene/layer_mesh.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <string>
#include <unordered_map>
#include <vector>

#include "import_scene/widened.h"
#include "platform/hash_index.h"
#include "placement/lightwave_placement.h"

namespace import_scene {
namespace {

// The bits of a coordinate as vertices are compared: -0 and +0 alike.
std::uint32_t Bits(float value) {
  std::uint32_t word = 0;
  const float unsignedZero = value + 0.0f;
  std::memcpy(&word, &unsignedZero, sizeof word);
  return word;
}

std::uint32_t ColorWord(const import::Rgba& c) {
  return std::uint32_t{c[0]} | std::uint32_t{c[1]} << 8 | std::uint32_t{c[2]} << 16 | std::uint32_t{c[3]} << 24;
}

// Numbers the vertices' classes in the order each first appears, two
// vertices sharing a class when `same(a, b)` holds; `hash` must give them
// the same value.  One open-addressing table of the classes' first
// vertices, so that a million vertices cost no allocation each.
template <class Hash, class Same>
std::vector<std::uint32_t> Classes(std::size_t n, Hash hash, Same same, std::size_t& classCount) {
  platform::HashIndex firstOfClass;
  firstOfClass.Reserve(n);
  std::vector<std::uint32_t> classOf(n);
  classCount = 0;
  for (std::uint32_t v = 0; v < n; ++v) {
    const std::uint64_t h = hash(v);
    const std::int32_t first =
        firstOfClass.Find(h, [&](std::int32_t entry) { return same(static_cast<std::uint32_t>(entry), v); });
    if (first >= 0) {
      classOf[v] = classOf[static_cast<std::size_t>(first)];
      continue;
    }
    firstOfClass.Insert(h, static_cast<std::int32_t>(v));
    classOf[v] = static_cast<std::uint32_t>(classCount++);
  }
  return classOf;
}

// Vertices by place: position, and normal where stored.
std::vector<std::uint32_t> PlaceClasses(const import::Geometry& geometry, std::size_t& count) {
  const auto& positions = geometry.positions;
  const auto& normals = geometry.normals;
  auto hash = [&](std::uint32_t v) {
    std::uint64_t h = v < normals.size() ? 1 : 0;
    for (float c : positions[v]) h = platform::HashCombine(h, Bits(c));
    if (v < normals.size()) {
      for (float c : normals[v]) h = platform::HashCombine(h, Bits(c));
    }
    return h;
  };
  auto same = [&](std::uint32_t a, std::uint32_t b) {
    for (std::size_t i = 0; i < 3; ++i) {
      if (Bits(positions[a][i]) != Bits(positions[b][i])) return false;
    }
    const bool normalA = a < normals.size(), normalB = b < normals.size();
    if (normalA != normalB) return false;
    if (!normalA) return true;
    for (std::size_t i = 0; i < 3; ++i) {
      if (Bits(normals[a][i]) != Bits(normals[b][i])) return false;
    }
    return true;
  };
  return Classes(geometry.positions.size(), hash, same, count);
}

// Vertices alike in everything: their place and every UV and colour value.
// Most places hold one vertex, which is a kind of its own; only where a
// second vertex comes to a place do that place's vertices go into a table
// of kinds, so that most vertices cost no second hashing.
std::vector<std::uint32_t> KindClasses(const import::Geometry& geometry, const std::vector<std::uint32_t>& placeOf,
                                       std::size_t placeCount, std::size_t& count) {
  const auto& day = geometry.dayColors;
  const auto& night = geometry.nightColors;
  auto hash = [&](std::size_t v) {
    std::uint64_t h = placeOf[v];
    for (const auto& set : geometry.uvSets) {
      h = platform::HashCombine(h, Bits(set[v][0]));
      h = platform::HashCombine(h, Bits(set[v][1]));
    }
    if (!day.empty()) h = platform::HashCombine(h, ColorWord(day[v]));
    if (!night.empty()) h = platform::HashCombine(h, ColorWord(night[v]));
    return h;
  };
  auto same = [&](std::size_t a, std::size_t b) {
    if (placeOf[a] != placeOf[b]) return false;
    for (const auto& set : geometry.uvSets) {
      if (Bits(set[a][0]) != Bits(set[b][0]) || Bits(set[a][1]) != Bits(set[b][1])) return false;
    }
    if (!day.empty() && day[a] != day[b]) return false;
    return night.empty() || night[a] == night[b];
  };
  constexpr std::int32_t kNone = -1;
  std::vector<std::int32_t> firstAt(placeCount, kNone);
  std::vector<bool> tabled(placeCount, false);
  std::vector<std::uint32_t> kindOf(placeOf.size());
  platform::HashIndex kinds;
  count = 0;
  for (std::size_t v = 0; v < placeOf.size(); ++v) {
    const std::uint32_t place = placeOf[v];
    if (firstAt[place] == kNone) {
      firstAt[place] = static_cast<std::int32_t>(v);
      kindOf[v] = static_cast<std::uint32_t>(count++);
      continue;
    }
    if (!tabled[place]) {
      kinds.Insert(hash(static_cast<std::size_t>(firstAt[place])), firstAt[place]);
      tabled[place] = true;
    }
    const std::uint64_t h = hash(v);
    const std::int32_t found = kinds.Find(h, [&](std::int32_t entry) { return same(static_cast<std::size_t>(entry), v); });
    if (found != kNone) {
      kindOf[v] = kindOf[static_cast<std::size_t>(found)];
      continue;
    }
    kinds.Insert(h, static_cast<std::int32_t>(v));
    kindOf[v] = static_cast<std::uint32_t>(count++);
  }
  return kindOf;
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
  std::size_t placeCount = 0, kindCount = 0;
  const std::vector<std::uint32_t> placeOf = PlaceClasses(geometry, placeCount);
  const std::vector<std::uint32_t> kindOf = KindClasses(geometry, placeOf, placeCount, kindCount);
  const std::size_t n = geometry.positions.size();
  // The first point at each place and how many it has; the later ones,
  // which only vertices alike in everything need, by place and number.
  std::vector<int> firstPoint(placeCount, -1);
  std::vector<std::size_t> pointCount(placeCount, 0);
  std::unordered_map<std::uint64_t, int> laterAt;
  std::vector<std::size_t> earlierOfKind(kindCount, 0);
  std::vector<int> points(n);
  mesh.points.reserve(placeCount);
  for (std::uint32_t v = 0; v < n; ++v) {
    const std::uint32_t place = placeOf[v];
    const std::size_t earlier = earlierOfKind[kindOf[v]]++;
    if (earlier == pointCount[place]) {
      const int made = static_cast<int>(mesh.points.size());
      mesh.points.push_back(ToLayout(geometry.positions[v]));
      if (pointCount[place] == 0) {
        firstPoint[place] = made;
      } else {
        laterAt.emplace(std::uint64_t{place} << 32 | pointCount[place], made);
      }
      ++pointCount[place];
    }
    points[v] = earlier == 0 ? firstPoint[place] : laterAt.at(std::uint64_t{place} << 32 | earlier);
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
  std::array<float, 4> own{}, corner{};  // `dimension` is at most 4
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
      if (!std::equal(own.begin(), own.begin() + dimension, corner.begin())) map.polygonValues.Set({point, static_cast<int>(t)}, corner.data(), d);
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
