#include "host/mesh_snapshot.h"

#include <cstdint>
#include <cstring>
#include <string>
#include <utility>

#include "host/host_state.h"
#include "host/scene_refs.h"

namespace host {
namespace {

void Fault(const std::string& what) {
  if (HostState* state = ActiveHostState()) state->Fault("mesh snapshot " + what);
}

// The faults are reported by functions of their own, kept apart from the
// look-ups below, so that these stay small enough to be inlined into every
// service call: the call then keeps its values in registers instead of
// passing them through memory.
void UnknownSnapshot(const char* operation) { Fault(std::string(operation) + ": unknown or destroyed snapshot"); }

void NotInSnapshot(const char* operation, const char* element) {
  Fault(std::string(operation) + ": " + element + " does not belong to this snapshot");
}

void NullOutput(const char* operation) { Fault(std::string(operation) + ": null output"); }

void ForeignMap(const char* operation) {
  Fault(std::string(operation) + ": vertex map does not belong to this snapshot");
}

// The snapshot behind an identifier, or null (noted as a fault) when the
// host never handed it out or it has been destroyed.
inline MeshSnapshot* Find(LWMeshInfoID mesh, const char* operation) {
  HostState* state = ActiveHostState();
  if (state == nullptr) return nullptr;
  const auto found = state->snapshots.find(mesh);
  if (found == state->snapshots.end()) {
    UnknownSnapshot(operation);
    return nullptr;
  }
  return found->second.get();
}

inline std::optional<std::size_t> PointOf(MeshSnapshot& snapshot, LWPntID point, const char* operation) {
  const auto index = snapshot.PointIndex(point);
  if (!index) NotInSnapshot(operation, "point");
  return index;
}

inline std::optional<std::size_t> PolygonOf(MeshSnapshot& snapshot, LWPolID polygon, const char* operation) {
  const auto index = snapshot.PolygonIndex(polygon);
  if (!index) NotInSnapshot(operation, "polygon");
  return index;
}

// Writes exactly `dimension` floats, the count pntVSelect announced, padding
// a short stored value with zeros.
inline int CopyValue(const UvMap& map, StoredValue stored, float* out, const char* operation) {
  if (out == nullptr) {
    NullOutput(operation);
    return 0;
  }
  // A UV or colour value usually has exactly the floats its map announces:
  // copied in one move of a known size, without a test per float.
  if (static_cast<std::size_t>(map.dimension) == stored.size()) {
    switch (map.dimension) {
      case 2:
        std::memcpy(out, stored.begin(), 2 * sizeof(float));
        return 1;
      case 3:
        std::memcpy(out, stored.begin(), 3 * sizeof(float));
        return 1;
      case 4:
        std::memcpy(out, stored.begin(), 4 * sizeof(float));
        return 1;
      default:
        break;
    }
  }
  for (int i = 0; i < map.dimension; ++i) {
    const auto at = static_cast<std::size_t>(i);
    out[at] = at < stored.size() ? stored[at] : 0.0f;
  }
  return 1;
}

inline int PointValue(const UvMap* map, std::size_t point, float* out, const char* operation) {
  if (map == nullptr) return 0;
  const auto value = map->pointValues.Find(static_cast<int>(point));
  if (!value) return 0;
  return CopyValue(*map, *value, out, operation);
}

// A per-polygon value overrides the point's own value for that polygon only.
inline int PolygonValue(const UvMap* map, std::size_t point, std::size_t polygon, float* out,
                        const char* operation) {
  if (map == nullptr) return 0;
  const auto value = map->polygonValues.Find({static_cast<int>(point), static_cast<int>(polygon)});
  if (!value) return PointValue(map, point, out, operation);
  return CopyValue(*map, *value, out, operation);
}

inline const UvMap* MapOf(MeshSnapshot& snapshot, void* vmap, const char* operation) {
  const UvMap* map = snapshot.OwnUvMap(vmap);
  if (map == nullptr && vmap != nullptr) ForeignMap(operation);
  return map;
}

void LWCALL Destroy(LWMeshInfoID mesh) {
  HostState* state = ActiveHostState();
  if (state == nullptr) return;
  if (state->snapshots.erase(mesh) == 0) Fault("destroy: unknown or already destroyed snapshot");
}

int LWCALL NumPoints(LWMeshInfoID mesh) {
  MeshSnapshot* snapshot = Find(mesh, "numPoints");
  return snapshot ? CountAsInt(snapshot->mesh().points.size()) : 0;
}

int LWCALL NumPolygons(LWMeshInfoID mesh) {
  MeshSnapshot* snapshot = Find(mesh, "numPolygons");
  return snapshot ? CountAsInt(snapshot->mesh().polygons.size()) : 0;
}

size_t LWCALL ScanPoints(LWMeshInfoID mesh, LWPntScanFunc func, void* data) {
  MeshSnapshot* snapshot = Find(mesh, "scanPoints");
  if (snapshot == nullptr) return 0;
  if (func == nullptr) {
    Fault("scanPoints: null callback");
    return 0;
  }
  for (std::size_t i = 0; i < snapshot->mesh().points.size(); ++i) {
    if (const size_t stop = func(data, snapshot->PointId(i))) return stop;
  }
  return 0;
}

size_t LWCALL ScanPolys(LWMeshInfoID mesh, LWPolScanFunc func, void* data) {
  MeshSnapshot* snapshot = Find(mesh, "scanPolys");
  if (snapshot == nullptr) return 0;
  if (func == nullptr) {
    Fault("scanPolys: null callback");
    return 0;
  }
  for (std::size_t i = 0; i < snapshot->mesh().polygons.size(); ++i) {
    if (const size_t stop = func(data, snapshot->PolygonId(i))) return stop;
  }
  return 0;
}

void WritePosition(LWMeshInfoID mesh, LWPntID point, LWFVector pos, const char* operation) {
  MeshSnapshot* snapshot = Find(mesh, operation);
  if (snapshot == nullptr) return;
  if (pos == nullptr) {
    Fault(std::string(operation) + ": null output");
    return;
  }
  const auto index = PointOf(*snapshot, point, operation);
  if (!index) return;
  const auto& position = snapshot->mesh().points[*index];
  std::memcpy(pos, position.data(), sizeof(float) * 3);
}

void LWCALL PntBasePos(LWMeshInfoID mesh, LWPntID point, LWFVector pos) {
  WritePosition(mesh, point, pos, "pntBasePos");
}

// Nothing deforms the stand-in host's meshes, so the displaced position is
// the base position.
void LWCALL PntOtherPos(LWMeshInfoID mesh, LWPntID point, LWFVector pos) {
  WritePosition(mesh, point, pos, "pntOtherPos");
}

void* LWCALL PntVLookup(LWMeshInfoID mesh, LWID type, const char* name) {
  MeshSnapshot* snapshot = Find(mesh, "pntVLookup");
  if (snapshot == nullptr || name == nullptr) return nullptr;
  return snapshot->VertexMapHandle(type, name);
}

int LWCALL PntVSelect(LWMeshInfoID mesh, void* vmap) {
  MeshSnapshot* snapshot = Find(mesh, "pntVSelect");
  if (snapshot == nullptr) return 0;
  const UvMap* map = MapOf(*snapshot, vmap, "pntVSelect");
  snapshot->Select(map);
  return map ? map->dimension : 0;
}

int LWCALL PntVGet(LWMeshInfoID mesh, LWPntID point, float* values) {
  MeshSnapshot* snapshot = Find(mesh, "pntVGet");
  if (snapshot == nullptr) return 0;
  const auto index = PointOf(*snapshot, point, "pntVGet");
  return index ? PointValue(snapshot->selected(), *index, values, "pntVGet") : 0;
}

int LWCALL PntVPGet(LWMeshInfoID mesh, LWPntID point, LWPolID polygon, float* values) {
  MeshSnapshot* snapshot = Find(mesh, "pntVPGet");
  if (snapshot == nullptr) return 0;
  const auto pointIndex = PointOf(*snapshot, point, "pntVPGet");
  const auto polygonIndex = PolygonOf(*snapshot, polygon, "pntVPGet");
  if (!pointIndex || !polygonIndex) return 0;
  return PolygonValue(snapshot->selected(), *pointIndex, *polygonIndex, values, "pntVPGet");
}

int LWCALL PntVIDGet(LWMeshInfoID mesh, LWPntID point, float* values, void* vmap) {
  MeshSnapshot* snapshot = Find(mesh, "pntVIDGet");
  if (snapshot == nullptr) return 0;
  const auto index = PointOf(*snapshot, point, "pntVIDGet");
  const UvMap* map = MapOf(*snapshot, vmap, "pntVIDGet");
  return index ? PointValue(map, *index, values, "pntVIDGet") : 0;
}

int LWCALL PntVPIDGet(LWMeshInfoID mesh, LWPntID point, LWPolID polygon, float* values,
                      void* vmap) {
  MeshSnapshot* snapshot = Find(mesh, "pntVPIDGet");
  if (snapshot == nullptr) return 0;
  const auto pointIndex = PointOf(*snapshot, point, "pntVPIDGet");
  const auto polygonIndex = PolygonOf(*snapshot, polygon, "pntVPIDGet");
  const UvMap* map = MapOf(*snapshot, vmap, "pntVPIDGet");
  if (!pointIndex || !polygonIndex) return 0;
  return PolygonValue(map, *pointIndex, *polygonIndex, values, "pntVPIDGet");
}

const Polygon* PolygonAt(LWMeshInfoID mesh, LWPolID polygon, const char* operation) {
  MeshSnapshot* snapshot = Find(mesh, operation);
  if (snapshot == nullptr) return nullptr;
  const auto index = PolygonOf(*snapshot, polygon, operation);
  return index ? &snapshot->mesh().polygons[*index] : nullptr;
}

LWID LWCALL PolType(LWMeshInfoID mesh, LWPolID polygon) {
  const Polygon* found = PolygonAt(mesh, polygon, "polType");
  return found ? found->type : 0;
}

int LWCALL PolSize(LWMeshInfoID mesh, LWPolID polygon) {
  const Polygon* found = PolygonAt(mesh, polygon, "polSize");
  return found ? CountAsInt(found->points.size()) : 0;
}

LWPntID LWCALL PolVertex(LWMeshInfoID mesh, LWPolID polygon, int vertex) {
  MeshSnapshot* snapshot = Find(mesh, "polVertex");
  if (snapshot == nullptr) return nullptr;
  const auto index = PolygonOf(*snapshot, polygon, "polVertex");
  if (!index) return nullptr;
  const std::vector<int>& points = snapshot->mesh().polygons[*index].points;
  if (vertex < 0 || static_cast<std::size_t>(vertex) >= points.size()) {
    Fault("polVertex: vertex " + std::to_string(vertex) + " of a polygon with " +
          std::to_string(points.size()));
    return nullptr;
  }
  const int point = points[static_cast<std::size_t>(vertex)];
  if (point < 0 || static_cast<std::size_t>(point) >= snapshot->mesh().points.size()) {
    Fault("polVertex: the scene's polygon refers to point " + std::to_string(point) +
          ", which its mesh does not have");
    return nullptr;
  }
  return snapshot->PointId(static_cast<std::size_t>(point));
}

const char* LWCALL PolTag(LWMeshInfoID mesh, LWPolID polygon, LWID tagType) {
  const Polygon* found = PolygonAt(mesh, polygon, "polTag");
  if (found == nullptr || tagType != LWPTAG_SURF) return nullptr;
  // Held by the host, not the snapshot: surface names outlive snapshots.
  return ActiveHostState()->Text(found->surface);
}

unsigned int LWCALL PolFlags(LWMeshInfoID mesh, LWPolID polygon) {
  PolygonAt(mesh, polygon, "polFlags");
  return 0;
}

}  // namespace

MeshSnapshot::MeshSnapshot(const Mesh& mesh)
    : info_{},
      mesh_(&mesh),
      pointIds_(mesh.points.size()),
      polygonIds_(mesh.polygons.size()),
      mapIds_(mesh.uvMaps.size() + mesh.colorMaps.size()) {
  info_.priv = this;
  info_.destroy = &Destroy;
  info_.numPoints = &NumPoints;
  info_.numPolygons = &NumPolygons;
  info_.scanPoints = &ScanPoints;
  info_.scanPolys = &ScanPolys;
  info_.pntBasePos = &PntBasePos;
  info_.pntOtherPos = &PntOtherPos;
  info_.pntVLookup = &PntVLookup;
  info_.pntVSelect = &PntVSelect;
  info_.pntVGet = &PntVGet;
  info_.polType = &PolType;
  info_.polSize = &PolSize;
  info_.polVertex = &PolVertex;
  info_.polTag = &PolTag;
  info_.pntVPGet = &PntVPGet;
  info_.polFlags = &PolFlags;
  info_.pntVIDGet = &PntVIDGet;
  info_.pntVPIDGet = &PntVPIDGet;
}

void MeshSnapshot::Detach() {
  if (own_) return;
  own_ = *mesh_;
  mesh_ = &*own_;
}

void* MeshSnapshot::VertexMapHandle(std::uint32_t type, const char* name) {
  for (std::size_t i = 0; i < mapIds_.size(); ++i) {
    const UvMap* map = MapAt(i);
    if (map->type == type && map->name == name) return &mapIds_[i];
  }
  return nullptr;
}

void MeshSnapshot::Select(const UvMap* map) {
  selected_.reset();
  for (std::size_t i = 0; i < mapIds_.size(); ++i) {
    if (MapAt(i) == map) selected_ = i;
  }
}

}  // namespace host
