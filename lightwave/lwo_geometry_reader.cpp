#include "lightwave/lwo_geometry_reader.h"

#include <limits>
#include <utility>

#include "lightwave/load_error.h"

namespace host {
namespace {

constexpr std::uint32_t kLayr = MakeId("LAYR");
constexpr std::uint32_t kPnts = MakeId("PNTS");
constexpr std::uint32_t kVmap = MakeId("VMAP");
constexpr std::uint32_t kVmad = MakeId("VMAD");
constexpr std::uint32_t kPols = MakeId("POLS");
constexpr std::uint32_t kPtag = MakeId("PTAG");
constexpr std::uint32_t kTags = MakeId("TAGS");
constexpr std::uint32_t kCurv = MakeId("CURV");

constexpr std::uint32_t kNoTag = std::numeric_limits<std::uint32_t>::max();

// A layer's polygons are appended one by one, as their count is not known
// beforehand; once the layer is complete its list gives back the room it
// grew into, which would otherwise stay unused for the whole export.
void FitLayer(Lwo2Layer& layer) { layer.mesh.polygons.shrink_to_fit(); }

// Ten bits of vertex count; curves use four of the six flag bits as more
// count bits.
std::size_t VertexCount(std::uint32_t type, std::uint16_t countAndFlags) {
  std::size_t count = countAndFlags & 0x3FFu;
  if (type == kCurv) count |= static_cast<std::size_t>(countAndFlags >> 12) << 10;
  return count;
}

// The number of polygons in the rest of a POLS chunk, so that the list is
// allocated once; counting stops where the chunk is cut short, which the
// reading itself then reports.
std::size_t CountPolygons(IffReader body, std::uint32_t type) {
  std::size_t polygons = 0;
  while (body.remaining() >= 2) {
    const std::size_t count = VertexCount(type, body.U2());
    ++polygons;
    for (std::size_t i = 0; i < count; ++i) {
      // An index is 2 bytes, or 4 after a first byte of 0xFF.
      if (body.remaining() < 2) return polygons;
      IffReader peek = body;
      if (peek.U1() == 0xFF && body.remaining() < 4) return polygons;
      body.Vx();
    }
  }
  return polygons;
}

// A VX index into the `count` elements that the latest chunk of their kind
// added from `base` on, as an index into all of the layer's.
std::size_t IndexInLatestChunk(IffReader& body, std::size_t base, std::size_t count, const std::string& element,
                               const char* chunk) {
  const std::uint64_t at = body.offset();
  const std::uint32_t index = body.Vx();
  if (index >= count) {
    throw IffError(at, element + " index " + std::to_string(index) + " is past the " + std::to_string(count) + " " +
                           element + "s of the latest " + chunk + " chunk");
  }
  return base + index;
}

}  // namespace

bool LwoGeometryReader::Read(const IffChunk& chunk) {
  switch (chunk.id) {
    case kLayr: ReadLayer(chunk.body); return true;
    case kPnts: ReadPoints(chunk.body); return true;
    case kVmap: ReadUvMap(chunk.body, false); return true;
    case kVmad: ReadUvMap(chunk.body, true); return true;
    case kPols: ReadPolygons(chunk.body); return true;
    case kPtag: ReadSurfaceTags(chunk.body); return true;
    case kTags: {
      IffReader body = chunk.body;
      while (!body.atEnd()) tags_.push_back(body.S0());
      return true;
    }
    default: return false;
  }
}

std::vector<Lwo2Layer> LwoGeometryReader::TakeLayers() {
  if (!layers_.empty()) FitLayer(layers_.back());
  ResolveSurfaceTags();
  return std::move(layers_);
}

void LwoGeometryReader::ReadLayer(IffReader body) {
  if (!layers_.empty()) FitLayer(layers_.back());
  Lwo2Layer layer;
  layer.number = body.U2();
  layer.flags = body.U2();
  const std::array<float, 3> pivot = body.Vec12("the pivot");
  layer.pivot = {static_cast<double>(pivot[0]), static_cast<double>(pivot[1]), static_cast<double>(pivot[2])};
  layer.name = body.S0();
  if (body.remaining() >= 2) {
    const std::uint16_t parent = body.U2();
    layer.parent = parent == 0xFFFF ? -1 : parent;
  }
  layers_.push_back(std::move(layer));
  states_.emplace_back();
}

// Geometry before the first LAYR belongs to a layer of number 0.
Lwo2Layer& LwoGeometryReader::CurrentLayer() {
  if (layers_.empty()) {
    layers_.emplace_back();
    states_.emplace_back();
  }
  return layers_.back();
}

void LwoGeometryReader::ReadPoints(IffReader body) {
  if (body.remaining() % 12 != 0) {
    body.Fail("PNTS holds " + std::to_string(body.remaining()) + " bytes, not a whole number of points");
  }
  Mesh& mesh = CurrentLayer().mesh;
  LayerState& state = states_.back();
  state.pointBase = mesh.points.size();
  state.pointCount = body.remaining() / 12;
  mesh.points.reserve(mesh.points.size() + state.pointCount);
  while (!body.atEnd()) mesh.points.push_back(body.Vec12("a point coordinate"));
}

std::size_t LwoGeometryReader::PointIndex(IffReader& body) const {
  const LayerState& state = states_.back();
  return IndexInLatestChunk(body, state.pointBase, state.pointCount, "point", "PNTS");
}

std::size_t LwoGeometryReader::PolygonIndex(IffReader& body) const {
  const LayerState& state = states_.back();
  return IndexInLatestChunk(body, state.polygonBase, state.polygonCount, "polygon", "POLS");
}

// VMAP (per point) and VMAD (per point of one polygon) of types TXUV, RGB
// and RGBA; other vertex maps (weights, morphs, normals...) are not served
// by the host.  Colour maps are kept whatever their dimension: the module
// judges one it cannot use.
void LwoGeometryReader::ReadUvMap(IffReader body, bool perPolygon) {
  const std::uint32_t type = body.Id4();
  if (type != kVertexMapUv && type != kVertexMapRgb && type != kVertexMapRgba) return;
  const std::uint16_t dimension = body.U2();
  const std::string name = body.S0();
  Mesh& mesh = CurrentLayer().mesh;
  std::vector<UvMap>& maps = type == kVertexMapUv ? mesh.uvMaps : mesh.colorMaps;
  UvMap* map = nullptr;
  for (UvMap& existing : maps) {
    if (existing.name == name && existing.type == type) map = &existing;
  }
  if (map == nullptr) {
    maps.push_back(UvMap{name, dimension, {}, {}, type});
    map = &maps.back();
  } else if (map->dimension != dimension) {
    body.Fail("vertex map '" + name + "' has " + std::to_string(dimension) + " components here but " +
              std::to_string(map->dimension) + " in an earlier chunk");
  }
  // Each value takes at least its 2-byte indices and its floats, which
  // bounds how many the chunk holds.
  const std::size_t leastBytes = (perPolygon ? 4 : 2) + std::size_t{4} * dimension;
  const std::size_t most = body.remaining() / leastBytes;
  if (perPolygon) {
    map->polygonValues.Reserve(most, most * dimension);
  } else {
    map->pointValues.Reserve(most, most * dimension);
  }
  std::vector<float> values(dimension);
  while (!body.atEnd()) {
    const auto point = static_cast<int>(PointIndex(body));
    const int polygon = perPolygon ? static_cast<int>(PolygonIndex(body)) : -1;
    if (body.remaining() < std::size_t{4} * dimension) body.Fail("a vertex map value runs past the end of the chunk");
    for (float& value : values) value = body.F4("a vertex map value");
    if (perPolygon) {
      map->polygonValues.Set({point, polygon}, values.data(), values.size());
    } else {
      map->pointValues.Set(point, values.data(), values.size());
    }
  }
}

void LwoGeometryReader::ReadPolygons(IffReader body) {
  const std::uint32_t type = body.Id4();
  Mesh& mesh = CurrentLayer().mesh;
  LayerState& state = states_.back();
  state.polygonBase = mesh.polygons.size();
  mesh.polygons.reserve(mesh.polygons.size() + CountPolygons(body, type));
  while (!body.atEnd()) {
    const std::size_t count = VertexCount(type, body.U2());
    if (body.remaining() < count * 2) {
      body.Fail("a polygon of " + std::to_string(count) + " vertices runs past the end of the chunk");
    }
    Polygon polygon;
    polygon.type = type;
    polygon.points.reserve(count);
    for (std::size_t i = 0; i < count; ++i) polygon.points.push_back(static_cast<int>(PointIndex(body)));
    mesh.polygons.push_back(std::move(polygon));
  }
  state.polygonCount = mesh.polygons.size() - state.polygonBase;
  state.surfaceTags.resize(mesh.polygons.size(), kNoTag);
}

// PTAG of type SURF: the surface of each polygon, as an index into TAGS.
// Other tag types (parts, smoothing groups, sketch colours) are skipped.
void LwoGeometryReader::ReadSurfaceTags(IffReader body) {
  if (body.Id4() != MakeId("SURF")) return;
  CurrentLayer();
  LayerState& state = states_.back();
  while (!body.atEnd()) {
    const std::size_t polygon = PolygonIndex(body);
    state.surfaceTags[polygon] = body.U2();
  }
}

// Tags are resolved once the whole file is read, so that a TAGS chunk
// written after the PTAG chunks that use it is still found.
void LwoGeometryReader::ResolveSurfaceTags() {
  for (std::size_t l = 0; l < layers_.size(); ++l) {
    Lwo2Layer& layer = layers_[l];
    const std::vector<std::uint32_t>& tags = states_[l].surfaceTags;
    for (std::size_t p = 0; p < tags.size(); ++p) {
      if (tags[p] == kNoTag) continue;
      if (tags[p] >= tags_.size()) {
        throw LoadError(fileName_ + ": PTAG: polygon " + std::to_string(p) + " of layer " + std::to_string(layer.number + 1) +
             " names surface tag " + std::to_string(tags[p]) + ", but the TAGS chunks hold only " +
             std::to_string(tags_.size()) + " names");
      }
      layer.mesh.polygons[p].surface = tags_[tags[p]];
    }
  }
}

}  // namespace host
