#include "scene/mesh_object.h"

#include <utility>

namespace scene {
namespace {

// Clears a list and gives its storage back.
template <class T>
void FreeStorage(std::vector<T>& list) {
  std::vector<T>().swap(list);
}

}  // namespace

MeshObject::MeshObject(LWItemID itemId_, const LWObjectInfo* objectInfo_,
                       const LWObjectFuncs* sceneObjects_, const LWSurfaceFuncs* surfaceFuncs_,
                       const LWImageList* imageList_, const LWTextureFuncs* textureFuncs_,
                       std::int32_t meshIndex_, FrameNode* frame_, const char* objectFileName_)
    : meshIndex(meshIndex_),
      frame(frame_),
      objectInfo(objectInfo_),
      sceneObjects(sceneObjects_),
      itemId(itemId_),
      surfaceFuncs(surfaceFuncs_),
      imageList(imageList_),
      textureFuncs(textureFuncs_),
      objectFileName(objectFileName_) {}

MaterialEntry* MeshObject::FindSurfaceByName(std::string_view name) {
  const std::int32_t position = SurfacePosition(name);
  if (position < 0) return nullptr;
  MaterialEntry& entry = surfaces[static_cast<std::size_t>(position)];
  ++entry.triangleCount;
  return &entry;
}

std::int32_t MeshObject::SurfacePosition(std::string_view name) const {
  const auto found = surfaceIndex_.find(std::string(name));
  return found != surfaceIndex_.end() ? found->second : -1;
}

std::int32_t MeshObject::AddSurface(MaterialEntry entry) {
  const auto position = static_cast<std::int32_t>(surfaces.size());
  surfaceIndex_.emplace(entry.surfaceName, position);
  surfaces.push_back(std::move(entry));
  return position;
}

void MeshObject::ReleaseVertexLists() {
  FreeStorage(vertices);
  FreeStorage(vertexSamples);
  FreeStorage(uvSamples);
  FreeStorage(cornerSamples);
  FreeStorage(points);
  colorPlan = ColorPlan();
}

void MeshObject::ReleaseWorkingLists() {
  ReleaseVertexLists();
  FreeStorage(polygons);
  FreeStorage(polygonSurfaces);
}

// Output first, then the working records from the inside out, then the
// lists' own storage.
void MeshObject::ReleaseMeshObject() {
  FreeStorage(positions);
  FreeStorage(normals);
  for (auto& set : uvSets) FreeStorage(set);
  FreeStorage(uvSets);
  FreeStorage(dayColors);
  FreeStorage(nightColors);
  FreeStorage(effects);
  colorReport = ColorReport();
  colorPlan = ColorPlan();
  FreeStorage(cornerVertices);
  FreeStorage(cornerMaterials);
  FreeStorage(polygonSurfaces);

  FreeStorage(vertices);
  FreeStorage(vertexSamples);
  for (UvSampleList& list : uvSamples) FreeStorage(list.values);
  FreeStorage(uvSamples);
  FreeStorage(cornerSamples);
  for (MaterialEntry& entry : surfaces) {
    std::string().swap(entry.textureName);
    entry.reflectionImageName.reset();
  }

  FreeStorage(points);
  FreeStorage(polygons);
  FreeStorage(materials);
  FreeStorage(surfaces);
  surfaceIndex_.clear();
  triangleCount = 0;
  vertexCount = 0;
  uvSetCount = 0;
  colorSetCount = 0;
}

}  // namespace scene
