#include "lwsdk/mesh_info.h"
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
  if (readColors) FindColorMaps(*this, mesh);
  // A geometry with colours is written prelit, without normals.
  if (colorSetCount == 0) ComputeNormals(*this);
  ReadUvSamples(*this, mesh);
  if (readColors) ReadColorSamples(*this, mesh);
  MakeVertices(*this);
  WriteVertexArrays(*this);
  // The surface steps read only the polygons: what they allocate can take
  // the memory of the points, samples and vertices instead of fresh pages.
  ReleaseVertexLists();
  ReadSurfaces(*this);
  AssignPolygonSurfaces(*this, mesh);
  BuildMaterialList(*this);
}

}  // namespace scene
