#include "geometry_host.h"

#include <utility>

#include "lwsdk/item_info.h"

namespace scene::testing {

host::Scene SceneOf(const std::vector<ObjectSetup>& objects) {
  host::Scene scene;
  scene.name = "test.lws";
  for (std::size_t i = 0; i < objects.size(); ++i) {
    host::ObjectFile file;
    file.filename = "objects\\object" + std::to_string(i) + ".lwo";
    file.surfaces = objects[i].surfaces;
    scene.objectFiles.push_back(file);
    scene.meshes.push_back(objects[i].mesh);
    host::Item item;
    item.name = "object" + std::to_string(i);
    item.objectFile = static_cast<int>(i);
    item.mesh = static_cast<int>(i);
    scene.items.push_back(item);
  }
  return scene;
}

GeometryHost::GeometryHost(host::Scene scene) : host_(std::move(scene)) {
  objectInfo = static_cast<const LWObjectInfo*>(host_.Global(LWOBJECTINFO_GLOBAL));
  sceneObjects = static_cast<const LWObjectFuncs*>(host_.Global(LWOBJECTFUNCS_GLOBAL));
  surfaceFuncs = static_cast<const LWSurfaceFuncs*>(host_.Global(LWSURFACEFUNCS_GLOBAL));
  imageList = static_cast<const LWImageList*>(host_.Global(LWIMAGELIST_GLOBAL));
  textureFuncs = static_cast<const LWTextureFuncs*>(host_.Global(LWTEXTUREFUNCS_GLOBAL));
  const auto* itemInfo = static_cast<const LWItemInfo*>(host_.Global(LWITEMINFO_GLOBAL));
  for (LWItemID item = itemInfo->first(LWI_OBJECT, nullptr); item != nullptr; item = itemInfo->next(item)) {
    items.push_back(item);
  }
}

std::unique_ptr<MeshObject> GeometryHost::Object(std::size_t position, FrameNode* frame) {
  LWItemID item = items.at(position);
  return std::make_unique<MeshObject>(item, objectInfo, sceneObjects, surfaceFuncs, imageList, textureFuncs,
                                      static_cast<std::int32_t>(position), frame, objectInfo->filename(item));
}

std::unique_ptr<MeshObject> GeometryHost::Built(std::size_t position, FrameNode* frame) {
  std::unique_ptr<MeshObject> object = Object(position, frame);
  object->BuildGeometry();
  return object;
}

host::Polygon Face(std::vector<int> points, std::string surface) {
  host::Polygon polygon;
  polygon.points = std::move(points);
  polygon.surface = std::move(surface);
  return polygon;
}

host::Surface PlainSurface(std::string name) {
  host::Surface surface;
  surface.name = std::move(name);
  return surface;
}

}  // namespace scene::testing
