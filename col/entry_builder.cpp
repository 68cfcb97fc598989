#include "col/entry_builder.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>
#include <optional>
#include <unordered_map>

#include "col/face_groups.h"
#include "col/surface_types.h"

namespace col {
namespace {

constexpr long kLowest = std::numeric_limits<std::int16_t>::min();
constexpr long kHighest = std::numeric_limits<std::int16_t>::max();

long Units(double metres) { return std::lround(metres * kUnitsPerMetre); }

bool Fits(const Point& p) {
  return std::all_of(p.begin(), p.end(), [](double m) {
    const long units = Units(m);
    return std::isfinite(m) && units >= kLowest && units <= kHighest;
  });
}

// The distance from the origin; infinite for a point that is not finite.
double Reach(const Point& p) {
  double squared = 0.0;
  for (double m : p) squared += m * m;
  return std::isfinite(squared) ? squared : HUGE_VAL;
}

std::string Metres(const Point& p) {
  char text[128];
  // Adding 0 turns -0 into 0, which reads better.
  std::snprintf(text, sizeof text, "(%.2f, %.2f, %.2f)", p[0] + 0.0, p[1] + 0.0, p[2] + 0.0);
  return text;
}

// The first item (in item order) with a corner out of range, named with its
// farthest corner; empty when every corner fits.
std::string OutOfRangeMessage(const EntrySource& source) {
  std::vector<std::optional<Point>> farthest(source.items.size());
  std::size_t itemsOut = 0;
  for (const auto* triangles : {&source.collision, &source.shadow}) {
    for (const SourceTriangle& t : *triangles) {
      for (const Point& p : t.corners) {
        if (Fits(p)) continue;
        std::optional<Point>& worst = farthest.at(t.item);
        if (!worst) ++itemsOut;
        if (!worst || Reach(p) > Reach(*worst)) worst = p;
      }
    }
  }
  for (std::size_t i = 0; i < farthest.size(); ++i) {
    if (!farthest[i]) continue;
    std::string message = "'" + source.items[i] + "' reaches " + Metres(*farthest[i]) +
                          " m from the model's origin, but a COL vertex holds only -256 m to +255.99 m "
                          "on each axis; move the item or the object's pivot closer, or split it";
    if (itemsOut > 1) message += " (" + std::to_string(itemsOut - 1) + " more item(s) reach too far as well)";
    return message;
  }
  return {};
}

class MeshBuilder {
 public:
  explicit MeshBuilder(std::size_t triangles) { index_.reserve(triangles); }

  // Adds the triangle unless two corners round to one vertex; false then,
  // and no vertex of it is kept, so that none is left unused.
  bool Add(const SourceTriangle& t, std::uint8_t material) {
    std::array<PackedVertex, 3> packed{};
    for (std::size_t i = 0; i < 3; ++i) packed[i] = Pack(t.corners[i]);
    if (packed[0] == packed[1] || packed[1] == packed[2] || packed[0] == packed[2]) return false;
    faces_.push_back({VertexOf(packed[0]), VertexOf(packed[1]), VertexOf(packed[2]), material});
    return true;
  }

  std::size_t vertexCount() const { return vertices_.size(); }
  std::size_t faceCount() const { return faces_.size(); }

  // Only when both counts fit the limits.
  Mesh Take() {
    Mesh mesh;
    mesh.vertices = std::move(vertices_);
    mesh.faces.reserve(faces_.size());
    for (const PendingFace& f : faces_) {
      mesh.faces.push_back({static_cast<std::uint16_t>(f.a), static_cast<std::uint16_t>(f.b),
                            static_cast<std::uint16_t>(f.c), f.material, 0xFF});
    }
    return mesh;
  }

 private:
  struct PendingFace {
    std::uint32_t a, b, c;
    std::uint8_t material;
  };

  static PackedVertex Pack(const Point& p) {
    PackedVertex v{};
    for (std::size_t axis = 0; axis < 3; ++axis) v[axis] = static_cast<std::int16_t>(Units(p[axis]));
    return v;
  }

  std::uint32_t VertexOf(const PackedVertex& v) {
    std::uint64_t key = 0;
    for (std::int16_t c : v) key = (key << 16) | static_cast<std::uint16_t>(c);
    const auto [found, added] = index_.emplace(key, static_cast<std::uint32_t>(vertices_.size()));
    if (added) vertices_.push_back(v);
    return found->second;
  }

  std::unordered_map<std::uint64_t, std::uint32_t> index_;
  std::vector<PackedVertex> vertices_;
  std::vector<PendingFace> faces_;
};

// Every distinct surface name resolved once.
std::vector<std::optional<std::uint8_t>> ResolveSurfaces(const std::vector<std::string>& names) {
  std::vector<std::optional<std::uint8_t>> ids;
  ids.reserve(names.size());
  for (const std::string& name : names) ids.push_back(ResolveSurfaceName(name));
  return ids;
}

std::string TooLargeMessage(const std::string& what, std::size_t faces, std::size_t vertices) {
  return "its " + what + " has " + std::to_string(faces) + " faces and " + std::to_string(vertices) +
         " vertices, but a COL entry holds at most 65,535 faces and 32,767 vertices; "
         "give it a simpler collision item";
}

float Down(double v) {
  float f = static_cast<float>(v);
  return static_cast<double>(f) > v ? std::nextafter(f, -HUGE_VALF) : f;
}

float Up(double v) {
  float f = static_cast<float>(v);
  return static_cast<double>(f) < v ? std::nextafter(f, HUGE_VALF) : f;
}

// The box of every point given, and a sphere about its centre that holds
// the whole box, so that the game never culls a part of the model that is
// on screen.  Floats are rounded outward.
Bounds BoundsOf(const EntrySource& source) {
  Point low{HUGE_VAL, HUGE_VAL, HUGE_VAL};
  Point high{-HUGE_VAL, -HUGE_VAL, -HUGE_VAL};
  auto take = [&](const Point& p) {
    for (std::size_t axis = 0; axis < 3; ++axis) {
      low[axis] = std::min(low[axis], p[axis]);
      high[axis] = std::max(high[axis], p[axis]);
    }
  };
  for (const auto* triangles : {&source.collision, &source.shadow}) {
    for (const SourceTriangle& t : *triangles) {
      for (const Point& p : t.corners) take(p);
    }
  }
  for (const Point& p : source.visual) take(p);
  Bounds bounds;
  if (low[0] > high[0]) return bounds;  // nothing at all
  double squared = 0.0;
  for (std::size_t axis = 0; axis < 3; ++axis) {
    bounds.min[axis] = Down(low[axis]);
    bounds.max[axis] = Up(high[axis]);
    const auto min = static_cast<double>(bounds.min[axis]);
    const auto max = static_cast<double>(bounds.max[axis]);
    bounds.centre[axis] = static_cast<float>((min + max) / 2.0);
    const auto centre = static_cast<double>(bounds.centre[axis]);
    const double half = std::max(max - centre, centre - min);
    squared += half * half;
  }
  bounds.radius = Up(std::sqrt(squared));
  return bounds;
}

}  // namespace

std::string FitEntryName(const std::string& name) {
  if (name.size() <= kMaxNameBytes) return name;
  std::size_t end = kMaxNameBytes;
  while (end > 0 && (static_cast<unsigned char>(name[end]) & 0xC0u) == 0x80u) --end;
  return name.substr(0, end);
}

std::size_t BuiltEntry::SurfaceCount() const {
  std::array<bool, 256> seen{};
  std::size_t count = 0;
  for (const Face& f : entry.mesh.faces) {
    if (!seen[f.material]) ++count;
    seen[f.material] = true;
  }
  return count;
}

BuiltEntry BuildEntry(const EntrySource& source) {
  BuiltEntry built;
  built.entry.name = FitEntryName(source.name);
  built.nameCut = built.entry.name != source.name;
  built.entry.modelId = source.modelId;
  built.entry.bounds = BoundsOf(source);
  if (source.boundsOnly) return built;

  built.error = OutOfRangeMessage(source);
  if (!built.error.empty()) {
    built.failure = BuildFailure::kOutOfRange;
    return built;
  }

  const std::vector<std::optional<std::uint8_t>> ids = ResolveSurfaces(source.surfaces);
  std::vector<bool> reported(ids.size(), false);
  MeshBuilder collision(source.collision.size());
  for (const SourceTriangle& t : source.collision) {
    const std::optional<std::uint8_t> id = ids.at(t.surface);
    if (!collision.Add(t, id.value_or(kDefaultSurface))) {
      ++built.collapsedFaces;
      continue;
    }
    if (id) continue;
    ++built.defaultedFaces;
    if (!reported[t.surface]) built.unknownSurfaces.push_back(source.surfaces[t.surface]);
    reported[t.surface] = true;
  }
  MeshBuilder shadow(source.shadow.size());
  for (const SourceTriangle& t : source.shadow) {
    if (!shadow.Add(t, kDefaultSurface)) ++built.collapsedFaces;
  }

  for (const auto& [what, mesh] : {std::pair<const char*, const MeshBuilder*>{"collision", &collision},
                                   std::pair<const char*, const MeshBuilder*>{"shadow mesh", &shadow}}) {
    if (mesh->faceCount() > kMaxFaces || mesh->vertexCount() > kMaxVertices) {
      built.failure = BuildFailure::kTooLarge;
      built.error = TooLargeMessage(what, mesh->faceCount(), mesh->vertexCount());
      return built;
    }
  }
  built.entry.mesh = collision.Take();
  built.entry.shadow = shadow.Take();
  built.entry.faceGroups = GroupFaces(built.entry.mesh);
  return built;
}

}  // namespace col
