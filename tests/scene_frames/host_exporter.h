// An exporter over the tables of a stand-in host that serves a hand-built
// scene, and the small pieces those scenes are built from.
#pragma once

#include <string>
#include <utility>

#include "host/scene_model.h"
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
                 ServiceOf<LWFileActivateFunc>(host, LWFILEREQFUNC_GLOBAL)) {
    exporter.sceneName = exporter.sceneInfo->name;
  }

  host::StandInHost host;
  DffExporter exporter;
};

// An object without geometry.
inline int AddNullObject(host::Scene& scene, const std::string& name, int parent = -1) {
  host::Item item;
  item.name = name;
  item.parent = parent;
  scene.items.push_back(item);
  return static_cast<int>(scene.items.size()) - 1;
}

// An object whose file holds one triangle of the surface "Default".
inline int AddTriangleObject(host::Scene& scene, const std::string& itemName,
                             const std::string& fileName, int parent = -1) {
  host::Mesh mesh;
  mesh.points = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}};
  host::Polygon triangle;
  triangle.points = {0, 1, 2};
  triangle.surface = "Default";
  mesh.polygons.push_back(triangle);
  scene.meshes.push_back(mesh);

  host::ObjectFile file;
  file.filename = fileName;
  host::Surface surface;
  surface.name = "Default";
  file.surfaces.push_back(surface);
  scene.objectFiles.push_back(file);

  host::Item item;
  item.name = itemName;
  item.parent = parent;
  item.objectFile = static_cast<int>(scene.objectFiles.size()) - 1;
  item.mesh = static_cast<int>(scene.meshes.size()) - 1;
  scene.items.push_back(item);
  return static_cast<int>(scene.items.size()) - 1;
}

inline int AddNonObject(host::Scene& scene, host::ItemType type, const std::string& name) {
  host::Item item;
  item.type = type;
  item.name = name;
  scene.items.push_back(item);
  return static_cast<int>(scene.items.size()) - 1;
}

}  // namespace scene::testing
