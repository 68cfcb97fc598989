#include "scene/dff_exporter.h"

#include "scene/mesh_parts.h"

namespace scene {
namespace {

void ReleaseFrameNode(FrameNode& frame) {
  frame.worldMatrix.reset();
  frame.rotationMatrix.reset();
  frame.vertexMatrix.reset();
  frame.name = std::string();
  frame.children = std::vector<FrameNode*>();
}

}  // namespace

DffExporter::DffExporter(const LWSceneInfo* sceneInfoTable, const LWObjectInfo* objectInfoTable,
                         const LWObjectFuncs* sceneObjectsTable,
                         const LWSurfaceFuncs* surfaceFuncsTable, const LWItemInfo* itemInfoTable,
                         const LWImageList* imageListTable,
                         const LWTextureFuncs* textureFuncsTable,
                         LWFileActivateFunc fileRequestFunction)
    : sceneInfo(sceneInfoTable),
      objectInfo(objectInfoTable),
      sceneObjects(sceneObjectsTable),
      surfaceFuncs(surfaceFuncsTable),
      itemInfo(itemInfoTable),
      imageList(imageListTable),
      textureFuncs(textureFuncsTable),
      fileRequest(fileRequestFunction) {}

// The members go in reverse order of declaration: orderedFrames, rootFrames,
// meshObjects, frames.  A mesh object never follows its frame pointer when
// it is destroyed, so the order is safe whether or not ReleaseAll ran.
DffExporter::~DffExporter() = default;

// Each object's working lists go as soon as its geometry is built: the
// writer reads only the output arrays and materials, and a scene of many
// large objects would otherwise hold the lists of all of them at once,
// several times the size of what is written.
void DffExporter::BuildAllGeometry() {
  for (const auto& meshObject : meshObjects) {
    meshObject->BuildGeometry();
    meshObject->ReleaseWorkingLists();
  }
  if (choices.splitOverVertexLimit) SplitOversizedMeshes();
}

void DffExporter::SplitOversizedMeshes() {
  std::vector<std::unique_ptr<MeshObject>> split;
  split.reserve(meshObjects.size());
  for (auto& meshObject : meshObjects) {
    if (meshObject->vertexCount <= kMaxGeometryVertices) {
      split.push_back(std::move(meshObject));
      continue;
    }
    std::vector<std::unique_ptr<MeshObject>> parts = SplitIntoParts(*meshObject, kMaxGeometryVertices);
    meshObject->ReleaseMeshObject();
    meshObject.reset();
    for (auto& part : parts) split.push_back(std::move(part));
  }
  meshObjects = std::move(split);
  for (std::size_t i = 0; i < meshObjects.size(); ++i) meshObjects[i]->meshIndex = static_cast<std::int32_t>(i);
}

// Frames first, then mesh objects, which hold pointers to their frames but
// never follow them while being released.  The two non-owning lists are
// emptied too, so that nothing is left pointing at freed frames.
void DffExporter::ReleaseAll() {
  for (auto& frame : frames) {
    ReleaseFrameNode(*frame);
    frame.reset();
  }
  for (auto& meshObject : meshObjects) {
    meshObject->ReleaseMeshObject();
    meshObject.reset();
  }
  frames.clear();
  meshObjects.clear();
  rootFrames.clear();
  orderedFrames.clear();
}

}  // namespace scene
