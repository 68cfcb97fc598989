// Serves hand-built meshes through the stand-in host and builds the mesh
// objects of their items, the way the exporter does.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "host/scene_model.h"
#include "host/standin_host.h"
#include "scene/mesh_object.h"

namespace scene::testing {

// One object item with its own mesh and object file.
struct ObjectSetup {
  host::Mesh mesh;
  std::vector<host::Surface> surfaces;
};

host::Scene SceneOf(const std::vector<ObjectSetup>& objects);

// The host tables and the object items of a scene, in item order.
class GeometryHost {
 public:
  explicit GeometryHost(host::Scene scene);

  // A fresh mesh object for the object item at `position`.
  std::unique_ptr<MeshObject> Object(std::size_t position, FrameNode* frame = nullptr);
  // The same, built.
  std::unique_ptr<MeshObject> Built(std::size_t position, FrameNode* frame = nullptr);

  host::StandInHost& host() { return host_; }
  const host::StandInHost& host() const { return host_; }
  const LWObjectInfo* objectInfo = nullptr;
  const LWObjectFuncs* sceneObjects = nullptr;
  const LWSurfaceFuncs* surfaceFuncs = nullptr;
  const LWImageList* imageList = nullptr;
  const LWTextureFuncs* textureFuncs = nullptr;
  std::vector<LWItemID> items;

 private:
  host::StandInHost host_;
};

host::Polygon Face(std::vector<int> points, std::string surface = "Default");
host::Surface PlainSurface(std::string name);

}  // namespace scene::testing
