// Which colour maps give a mesh's day and night colours: the object's
// first map whose name says "night" gives the night colours, its first
// other map the day colours, and a surface that names a map of its own
// gives its polygons' day colours from that map.
#include <algorithm>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "lwsdk/mesh_info.h"
#include "lwsdk/object_info.h"
#include "scene/geometry_steps.h"

namespace scene {
namespace {

bool NamesNight(std::string_view name) {
  constexpr std::string_view kNight = "night";
  if (name.size() < kNight.size()) return false;
  for (std::size_t at = 0; at + kNight.size() <= name.size(); ++at) {
    bool same = true;
    for (std::size_t i = 0; same && i < kNight.size(); ++i) {
      const char c = name[at + i];
      same = (c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c) == kNight[i];
    }
    if (same) return true;
  }
  return false;
}

// The mesh's map of this type and name, when it has one of the dimension
// its type has (3 for RGB, 4 for RGBA); a map of another dimension is
// named in the report and not used.
std::optional<ColorSource> LookUpColorMap(MeshObject& object, LWMeshInfoID mesh, LWID type, const char* name) {
  if (name == nullptr || *name == '\0') return std::nullopt;
  void* handle = mesh->pntVLookup(mesh, type, name);
  if (handle == nullptr) return std::nullopt;
  const bool hasAlpha = type == LWVMAP_RGBA;
  if (mesh->pntVSelect(mesh, handle) != (hasAlpha ? 4 : 3)) {
    std::vector<std::string>& ignored = object.colorReport.wrongDimensionMaps;
    if (std::find(ignored.begin(), ignored.end(), name) == ignored.end()) ignored.emplace_back(name);
    return std::nullopt;
  }
  return ColorSource{handle, hasAlpha};
}

// A surface's map is named without its type; an RGBA map of that name
// comes before an RGB one.
std::optional<ColorSource> LookUpNamedMap(MeshObject& object, LWMeshInfoID mesh, const char* name) {
  if (std::optional<ColorSource> found = LookUpColorMap(object, mesh, LWVMAP_RGBA, name)) return found;
  return LookUpColorMap(object, mesh, LWVMAP_RGB, name);
}

// The first day and night maps of this mesh, in the scene's order of
// vertex maps of every type.
void FindObjectMaps(MeshObject& object, LWMeshInfoID mesh) {
  const LWObjectFuncs& maps = *object.sceneObjects;
  const int count = maps.numVMaps(0);
  for (int i = 0; i < count; ++i) {
    const LWID type = maps.vmapType(i);
    if (type != LWVMAP_RGB && type != LWVMAP_RGBA) continue;
    const char* name = maps.vmapName(0, i);
    const bool night = name != nullptr && NamesNight(name);
    std::optional<ColorSource>& slot = night ? object.colorPlan.night : object.colorPlan.defaultDay;
    if (!slot) slot = LookUpColorMap(object, mesh, type, name);
  }
}

void FindSurfaceMaps(MeshObject& object, LWMeshInfoID mesh) {
  if (object.objectFileName == nullptr || object.surfaceFuncs->getColorVMap == nullptr) return;
  const LWSurfaceID* surfaces = object.surfaceFuncs->byObject(object.objectFileName);
  if (surfaces == nullptr) return;
  for (; *surfaces != nullptr; ++surfaces) {
    const char* mapName = object.surfaceFuncs->getColorVMap(*surfaces);
    const char* surfaceName = object.surfaceFuncs->name(*surfaces);
    if (mapName == nullptr || *mapName == '\0' || surfaceName == nullptr) continue;
    object.colorPlan.surfaceDay.emplace(surfaceName, LookUpNamedMap(object, mesh, mapName));
  }
}

}  // namespace

void FindColorMaps(MeshObject& object, LWMeshInfoID mesh) {
  FindObjectMaps(object, mesh);
  FindSurfaceMaps(object, mesh);
  const ColorPlan& plan = object.colorPlan;
  bool anyDayMap = plan.defaultDay.has_value();
  for (const auto& named : plan.surfaceDay) anyDayMap = anyDayMap || named.second.has_value();
  object.colorReport.whiteDay = plan.night && !anyDayMap;
  object.colorSetCount = plan.night ? 2 : anyDayMap ? 1 : 0;
}

}  // namespace scene
