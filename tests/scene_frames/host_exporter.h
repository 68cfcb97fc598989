// An exporter over the tables of a stand-in host serving a hand-built scene.
#pragma once

#include <string>
#include <utility>

#include "host/standin_host.h"
#include "scene/dff_exporter.h"

namespace scene::testing {

template <typename Table>
Table ServiceOf(host::StandInHost& host, const char* name) {
  return reinterpret_cast<Table>(host.Global(name));
}

struct HostExporter {
  explicit HostExporter(host::Scene scene)
      : host(std::move(scene)),
        exporter(ServiceOf<const LWSceneInfo*>(host, LWSCENEINFO_GLOBAL),
                 ServiceOf<const LWObjectInfo*>(host, LWOBJECTINFO_GLOBAL),
                 ServiceOf<const LWObjectFuncs*>(host, LWOBJECTFUNCS_GLOBAL),
                 ServiceOf<const LWSurfaceFuncs*>(host, LWSURFACEFUNCS_GLOBAL),
                 ServiceOf<const LWItemInfo*>(host, LWITEMINFO_GLOBAL),
                 ServiceOf<const LWImageList*>(host, LWIMAGELIST_GLOBAL),
                 ServiceOf<const LWTextureFuncs*>(host, LWTEXTUREFUNCS_GLOBAL),
                 ServiceOf<LWFileActivateFunc>(host, LWFILEREQFUNC_GLOBAL)) {}

  host::StandInHost host;
  DffExporter exporter;
};

// Appends an item and returns its position.  An object with a file name
// gets one triangle of the surface "Default"; without one it is a null.
inline int AddItem(host::Scene& scene, const std::string& name, int parent = -1,
                   const std::string& objectFile = "",
                   host::ItemType type = host::ItemType::kObject) {
  host::Item item;
  item.type = type;
  item.name = name;
  item.parent = parent;
  if (!objectFile.empty()) {
    host::Mesh mesh;
    mesh.points = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}};
    mesh.polygons = {host::Polygon{0x46414345u, {0, 1, 2}, "Default"}};
    scene.meshes.push_back(mesh);
    host::Surface surface;
    surface.name = "Default";
    scene.objectFiles.push_back(host::ObjectFile{objectFile, {surface}, {}});
    item.objectFile = static_cast<int>(scene.objectFiles.size()) - 1;
    item.mesh = static_cast<int>(scene.meshes.size()) - 1;
  }
  scene.items.push_back(item);
  return static_cast<int>(scene.items.size()) - 1;
}

}  // namespace scene::testing
