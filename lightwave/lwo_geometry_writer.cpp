#include "lightwave/lwo_geometry_writer.h"

#include <algorithm>
#include <cstddef>
#include <stdexcept>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

namespace host {

std::array<float, 3> ToFloats(const Vec3& value) {
  return {static_cast<float>(value[0]), static_cast<float>(value[1]), static_cast<float>(value[2])};
}

namespace {

constexpr std::uint32_t kFaceLimit = 0x3FF;
constexpr std::uint32_t kCurveLimit = 0x3FFF;

// The object's surface names in tag order, each with its tag: the object's
// surfaces, then names that only polygons use.  Looked up by hash, since
// every polygon of a million asks for its tag.
class Tags {
 public:
  explicit Tags(const Lwo2Object& object) {
    for (const Lwo2Surface& surface : object.surfaces) Add(surface.name);
    for (const Lwo2Layer& layer : object.layers) {
      const std::string* previous = nullptr;
      for (const Polygon& polygon : layer.mesh.polygons) {
        // Neighbouring polygons mostly share a surface.
        if (previous != nullptr && *previous == polygon.surface) continue;
        Add(polygon.surface);
        previous = &polygon.surface;
      }
    }
  }

  const std::vector<std::string>& names() const { return names_; }
  std::uint16_t IndexOf(const std::string& name) const {
    return static_cast<std::uint16_t>(index_.at(name));
  }

 private:
  void Add(const std::string& name) {
    if (name.empty() || !index_.emplace(name, names_.size()).second) return;
    names_.push_back(name);
  }

  std::vector<std::string> names_;
  std::unordered_map<std::string, std::size_t> index_;
};

void WriteLayerHeader(IffWriter& out, const Lwo2Layer& layer) {
  out.Begin(MakeId("LAYR"), IffLength::kU4);
  out.U2(static_cast<std::uint16_t>(layer.number));
  out.U2(static_cast<std::uint16_t>(layer.flags));
  out.Vec12(ToFloats(layer.pivot));
  out.S0(layer.name);
  out.U2(layer.parent < 0 ? std::uint16_t{0xFFFF} : static_cast<std::uint16_t>(layer.parent));
  out.End();
}

void WritePoints(IffWriter& out, const Mesh& mesh) {
  out.Begin(MakeId("PNTS"), IffLength::kU4);
  for (const auto& point : mesh.points) out.Vec12(point);
  out.End();
}

void WriteValues(IffWriter& out, StoredValue values) {
  for (float value : values) out.F4(value);
}

// The UV maps, then the colour maps.
std::vector<const UvMap*> VertexMaps(const Mesh& mesh) {
  std::vector<const UvMap*> maps;
  for (const UvMap& map : mesh.uvMaps) maps.push_back(&map);
  for (const UvMap& map : mesh.colorMaps) maps.push_back(&map);
  return maps;
}

void WritePointValues(IffWriter& out, const UvMap& map) {
  if (map.pointValues.empty()) return;
  out.Begin(MakeId("VMAP"), IffLength::kU4);
  out.Id4(map.type);
  out.U2(static_cast<std::uint16_t>(map.dimension));
  out.S0(map.name);
  map.pointValues.ForEach([&](int point, StoredValue values) {
    out.Vx(static_cast<std::uint32_t>(point));
    WriteValues(out, values);
  });
  out.End();
}

// Polygons [first, last) of one layer share one type and become one POLS
// chunk.
struct PolygonRun {
  std::size_t first = 0;
  std::size_t last = 0;
};

std::vector<PolygonRun> PolygonRuns(const std::vector<Polygon>& polygons) {
  std::vector<PolygonRun> runs;
  std::size_t first = 0;
  while (first < polygons.size()) {
    std::size_t last = first + 1;
    while (last < polygons.size() && polygons[last].type == polygons[first].type) ++last;
    runs.push_back({first, last});
    first = last;
  }
  return runs;
}

// One map's per-polygon values of one run, in the map's order.
using RunValues = std::vector<std::pair<std::pair<int, int>, StoredValue>>;

// Splits a map's per-polygon values by the run of their polygon in one
// pass, so that a layer of many runs costs no more than one of few.
// Values of polygons the layer does not have belong to no run.
std::vector<RunValues> ValuesByRun(const UvMap& map, const std::vector<PolygonRun>& runs,
                                   std::size_t polygonCount) {
  std::vector<std::size_t> runOf(polygonCount);
  for (std::size_t r = 0; r < runs.size(); ++r) {
    std::fill(runOf.begin() + static_cast<std::ptrdiff_t>(runs[r].first),
              runOf.begin() + static_cast<std::ptrdiff_t>(runs[r].last), r);
  }
  std::vector<RunValues> byRun(runs.size());
  map.polygonValues.ForEach([&](const std::pair<int, int>& key, StoredValue values) {
    const auto polygon = static_cast<std::size_t>(key.second);
    if (key.second < 0 || polygon >= polygonCount) return;
    byRun[runOf[polygon]].emplace_back(key, values);
  });
  return byRun;
}

// The run's POLS chunk, then its tags and per-polygon map values, indexed
// from the run's first polygon.  `runValues` holds the run's values of each
// of `maps`, in the same order.
void WritePolygonRun(IffWriter& out, const Mesh& mesh, const PolygonRun& run,
                     const Tags& tags, const std::vector<const UvMap*>& maps,
                     const std::vector<const RunValues*>& runValues) {
  const std::uint32_t type = mesh.polygons[run.first].type;
  const std::uint32_t limit = type == MakeId("CURV") ? kCurveLimit : kFaceLimit;
  out.Begin(MakeId("POLS"), IffLength::kU4);
  out.Id4(type);
  for (std::size_t p = run.first; p < run.last; ++p) {
    const std::vector<int>& points = mesh.polygons[p].points;
    if (points.size() > limit) throw std::length_error("a polygon has more vertices than LWO2 can hold");
    const auto count = static_cast<std::uint32_t>(points.size());
    out.U2(static_cast<std::uint16_t>((count & 0x3FFu) | (count >> 10) << 12));
    for (int point : points) out.Vx(static_cast<std::uint32_t>(point));
  }
  out.End();

  out.Begin(MakeId("PTAG"), IffLength::kU4);
  out.Id4(MakeId("SURF"));
  const std::string* previous = nullptr;
  std::uint16_t tag = 0;
  for (std::size_t p = run.first; p < run.last; ++p) {
    const std::string& surface = mesh.polygons[p].surface;
    if (surface.empty()) continue;
    if (previous == nullptr || *previous != surface) tag = tags.IndexOf(surface);
    previous = &surface;
    out.Vx(static_cast<std::uint32_t>(p - run.first));
    out.U2(tag);
  }
  out.End();

  for (std::size_t m = 0; m < maps.size(); ++m) {
    const RunValues& values = *runValues[m];
    if (values.empty()) continue;
    const UvMap& map = *maps[m];
    out.Begin(MakeId("VMAD"), IffLength::kU4);
    out.Id4(map.type);
    out.U2(static_cast<std::uint16_t>(map.dimension));
    out.S0(map.name);
    for (const auto& [key, value] : values) {
      out.Vx(static_cast<std::uint32_t>(key.first));
      out.Vx(static_cast<std::uint32_t>(static_cast<std::size_t>(key.second) - run.first));
      WriteValues(out, value);
    }
    out.End();
  }
}

void WriteLayer(IffWriter& out, const Lwo2Layer& layer, const Tags& tags) {
  WriteLayerHeader(out, layer);
  WritePoints(out, layer.mesh);
  const std::vector<const UvMap*> maps = VertexMaps(layer.mesh);
  for (const UvMap* map : maps) WritePointValues(out, *map);
  const std::vector<Polygon>& polygons = layer.mesh.polygons;
  const std::vector<PolygonRun> runs = PolygonRuns(polygons);
  std::vector<std::vector<RunValues>> valuesByMap;  // [map][run]
  for (const UvMap* map : maps) valuesByMap.push_back(ValuesByRun(*map, runs, polygons.size()));
  std::vector<const RunValues*> runValues(valuesByMap.size());
  for (std::size_t r = 0; r < runs.size(); ++r) {
    for (std::size_t m = 0; m < valuesByMap.size(); ++m) runValues[m] = &valuesByMap[m][r];
    WritePolygonRun(out, layer.mesh, runs[r], tags, maps, runValues);
  }
}

}  // namespace

void WriteGeometry(IffWriter& out, const Lwo2Object& object) {
  const Tags tags(object);
  out.Begin(MakeId("TAGS"), IffLength::kU4);
  for (const std::string& tag : tags.names()) out.S0(tag);
  out.End();
  for (const Lwo2Layer& layer : object.layers) WriteLayer(out, layer, tags);
}

}  // namespace host
