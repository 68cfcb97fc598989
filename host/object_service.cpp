// "LW Object Info 5" (per object item: file, counts, mesh snapshots) and
// "Scene Objects 4" (the loaded object files with their layers, and the
// vertex maps of the whole scene).
#include <algorithm>
#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "host/host_state.h"
#include "host/scene_refs.h"
#include "host/services.h"

namespace host {
namespace {

// The object item behind a handle; a light, camera or bone is a fault.
const Item* ObjectItem(HostState& state, LWItemID item, const char* operation) {
  const auto index =
      Resolve(state, HandleKind::kItem, item, state.scene.items.size(), operation);
  if (!index) return nullptr;
  const Item& found = state.scene.items[*index];
  if (found.type != ItemType::kObject) {
    state.Fault(std::string(operation) + ": item \"" + found.name + "\" is not an object");
    return nullptr;
  }
  return &found;
}

// The object's mesh; null for a null object (or a mesh index the scene
// does not have).
const Mesh* MeshOf(const Scene& scene, const Item& item) {
  if (item.mesh < 0 || static_cast<std::size_t>(item.mesh) >= scene.meshes.size()) return nullptr;
  return &scene.meshes[static_cast<std::size_t>(item.mesh)];
}

const char* LWCALL Filename(LWItemID object) {
  HostState* state = ActiveHostState();
  if (state == nullptr) return nullptr;
  const Item* item = ObjectItem(*state, object, "LW Object Info 5 filename");
  if (item == nullptr) return nullptr;
  const auto& files = state->scene.objectFiles;
  if (item->objectFile < 0 || static_cast<std::size_t>(item->objectFile) >= files.size()) {
    return nullptr;
  }
  return state->Text(files[static_cast<std::size_t>(item->objectFile)].filename);
}

int LWCALL NumPoints(LWItemID object) {
  HostState* state = ActiveHostState();
  if (state == nullptr) return 0;
  const Item* item = ObjectItem(*state, object, "LW Object Info 5 numPoints");
  const Mesh* mesh = item ? MeshOf(state->scene, *item) : nullptr;
  return mesh ? CountAsInt(mesh->points.size()) : 0;
}

int LWCALL NumPolygons(LWItemID object) {
  HostState* state = ActiveHostState();
  if (state == nullptr) return 0;
  const Item* item = ObjectItem(*state, object, "LW Object Info 5 numPolygons");
  const Mesh* mesh = item ? MeshOf(state->scene, *item) : nullptr;
  return mesh ? CountAsInt(mesh->polygons.size()) : 0;
}

// Every call makes a new snapshot that lives until the module destroys it
// (or the host goes).  The host's meshes are final already, so `frozen`
// changes nothing.
LWMeshInfoID LWCALL MeshInfo(LWItemID object, int /*frozen*/) {
  HostState* state = ActiveHostState();
  if (state == nullptr) return nullptr;
  const Item* item = ObjectItem(*state, object, "LW Object Info 5 meshInfo");
  const Mesh* mesh = item ? MeshOf(state->scene, *item) : nullptr;
  if (mesh == nullptr) return nullptr;
  auto snapshot = std::make_unique<MeshSnapshot>(*mesh);
  LWMeshInfo* info = snapshot->info();
  state->snapshots.emplace(info, std::move(snapshot));
  return info;
}

bool IsListedIn(LWID listType, const UvMap& map) { return listType == 0 || listType == map.type; }

// The distinct vertex maps of one type (0: every type) of the scene's
// object meshes, by type and name, in order of first appearance: items in
// host order, each mesh's UV maps, then its colour maps.
std::vector<const UvMap*> SceneMaps(const Scene& scene, LWID type) {
  std::vector<const UvMap*> maps;
  auto add = [&](const UvMap& map) {
    if (!IsListedIn(type, map)) return;
    for (const UvMap* earlier : maps) {
      if (earlier->type == map.type && earlier->name == map.name) return;
    }
    maps.push_back(&map);
  };
  for (const Item& item : scene.items) {
    const Mesh* mesh = item.type == ItemType::kObject ? MeshOf(scene, item) : nullptr;
    if (mesh == nullptr) continue;
    for (const UvMap& map : mesh->uvMaps) add(map);
    for (const UvMap& map : mesh->colorMaps) add(map);
  }
  return maps;
}

const UvMap* SceneMap(const Scene& scene, LWID type, int index) {
  const std::vector<const UvMap*> maps = SceneMaps(scene, type);
  if (index < 0 || static_cast<std::size_t>(index) >= maps.size()) return nullptr;
  return maps[static_cast<std::size_t>(index)];
}

int LWCALL NumVMaps(LWID type) {
  HostState* state = ActiveHostState();
  if (state == nullptr) return 0;
  return CountAsInt(SceneMaps(state->scene, type).size());
}

const char* LWCALL VMapName(LWID type, int index) {
  HostState* state = ActiveHostState();
  if (state == nullptr) return nullptr;
  const UvMap* map = SceneMap(state->scene, type, index);
  return map ? state->Text(map->name) : nullptr;
}

int LWCALL VMapDim(LWID type, int index) {
  HostState* state = ActiveHostState();
  if (state == nullptr) return 0;
  const UvMap* map = SceneMap(state->scene, type, index);
  return map ? map->dimension : 0;
}

LWID LWCALL VMapType(int index) {
  HostState* state = ActiveHostState();
  if (state == nullptr) return 0;
  const UvMap* map = SceneMap(state->scene, 0, index);
  return map ? map->type : 0;
}

// Scene Objects numbers the loaded object files in load order.
const ObjectFile* ObjectFileAt(const Scene& scene, int object) {
  if (object < 0 || static_cast<std::size_t>(object) >= scene.objectFiles.size()) return nullptr;
  return &scene.objectFiles[static_cast<std::size_t>(object)];
}

const ObjectLayer* LayerOf(const Scene& scene, int object, int layer) {
  const ObjectFile* file = ObjectFileAt(scene, object);
  if (file == nullptr) return nullptr;
  for (const ObjectLayer& candidate : file->layers) {
    if (candidate.number == layer) return &candidate;
  }
  return nullptr;
}

int LWCALL NumObjects() {
  HostState* state = ActiveHostState();
  return state ? CountAsInt(state->scene.objectFiles.size()) : 0;
}

const char* LWCALL ObjectFilename(int object) {
  HostState* state = ActiveHostState();
  const ObjectFile* file = state ? ObjectFileAt(state->scene, object) : nullptr;
  return file ? state->Text(file->filename) : nullptr;
}

// One more than the highest layer number: layers may be numbered with gaps.
int LWCALL MaxLayers(int object) {
  HostState* state = ActiveHostState();
  const ObjectFile* file = state ? ObjectFileAt(state->scene, object) : nullptr;
  if (file == nullptr) return 0;
  int most = 0;
  for (const ObjectLayer& layer : file->layers) most = std::max(most, layer.number + 1);
  return most;
}

int LWCALL LayerExists(int object, int layer) {
  HostState* state = ActiveHostState();
  return state && LayerOf(state->scene, object, layer) ? 1 : 0;
}

// Null for an unnamed layer, as Layout answers.
const char* LWCALL LayerName(int object, int layer) {
  HostState* state = ActiveHostState();
  const ObjectLayer* found = state ? LayerOf(state->scene, object, layer) : nullptr;
  return found && !found->name.empty() ? state->Text(found->name) : nullptr;
}

LWObjectInfo MakeObjectInfo() {
  LWObjectInfo table{};
  table.filename = &Filename;
  table.numPoints = &NumPoints;
  table.numPolygons = &NumPolygons;
  table.meshInfo = &MeshInfo;
  return table;
}

LWObjectFuncs MakeSceneObjects() {
  LWObjectFuncs table{};
  table.numObjects = &NumObjects;
  table.filename = &ObjectFilename;
  table.maxLayers = &MaxLayers;
  table.layerExists = &LayerExists;
  table.layerName = &LayerName;
  table.numVMaps = &NumVMaps;
  table.vmapName = &VMapName;
  table.vmapDim = &VMapDim;
  table.vmapType = &VMapType;
  return table;
}

}  // namespace

LWObjectInfo* ObjectInfoService() {
  static LWObjectInfo table = MakeObjectInfo();
  return &table;
}

LWObjectFuncs* SceneObjectsService() {
  static LWObjectFuncs table = MakeSceneObjects();
  return &table;
}

}  // namespace host
