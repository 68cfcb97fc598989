#include <utility>

#include "scene/geometry_steps.h"
#include "scene/mesh_object.h"

namespace scene {
namespace {

// The host's mesh snapshot, destroyed after use when the host offers a way
// to; otherwise every export would leave a copy of the mesh in the host.
class MeshSnapshot {
 public:
  explicit MeshSnapshot(LWMeshInfoID mesh) : mesh_(mesh) {}
  ~MeshSnapshot() {
    if (mesh_ != nullptr && mesh_->destroy != nullptr) mesh_->destroy(mesh_);
  }
  MeshSnapshot(const MeshSnapshot&) = delete;
  MeshSnapshot& operator=(const MeshSnapshot&) = delete;
  LWMeshInfoID get() const { return mesh_; }

 private:
  LWMeshInfoID mesh_;
};

}  // namespace

void MeshObject::BuildGeometry() {
  // A second build starts over instead of appending to the first.
  ReleaseMeshObject();
  const MeshSnapshot snapshot(objectInfo->meshInfo(itemId, 1));
  LWMeshInfoID mesh = snapshot.get();
  if (mesh == nullptr) return;

  ReadPoints(*this, mesh);
  ReadTriangles(*this, mesh);
  ComputeNormals(*this);
  ReadUvSamples(*this, mesh);
  MakeVertices(*this);
  // Nothing reads the corners' samples after this; the corner materials
  // take their memory, already in use, rather than fresh pages.
  cornerMaterials = std::move(cornerSamples);
  cornerMaterials.clear();
  cornerSamples = {};
  WriteVertexArrays(*this);
  ReadSurfaces(*this);
  AssignPolygonSurfaces(*this, mesh);
  BuildMaterialList(*this);
}

}  // namespace scene
