// A generated LOD model as the clump writer reads it: one frame at the
// origin, named as the model, carrying one geometry (the simplified mesh,
// in the model's space) with the materials of the model it stands in for,
// no 2d effects and no embedded collision.
#pragma once

#include <string>
#include <vector>

#include "dff/clump_content.h"
#include "scene/mesh_object.h"
#include "simplify/simplify_mesh.h"

namespace mapexport {

class LodClump : public dff::ClumpContent {
 public:
  // Every argument is borrowed and must outlive the clump; each corner
  // material indexes `materials`.
  LodClump(const std::string& name, const simplify::Mesh& mesh, const std::vector<scene::MaterialEntry>& materials);

  std::int32_t FrameCount() const override { return 1; }
  dff::ClumpFrame Frame(std::int32_t index) const override;
  std::int32_t GeometryCount() const override { return 1; }
  dff::ClumpGeometry Geometry(std::int32_t index) const override;
  dff::ClumpMaterial Material(std::int32_t geometry, std::int32_t material) const override;
  dff::CollisionFile OpenCollision() override { return {}; }

 private:
  const std::string& name_;
  const simplify::Mesh& mesh_;
  const std::vector<scene::MaterialEntry>& materials_;
  platform::Matrix4 identity_;
  std::vector<dff::Effect2d> noEffects_;
};

}  // namespace mapexport
