// The geometry build done the plain way: every lookup a scan from the start
// of its list, as the exporter's results are defined.  The real build must
// give the very same output with its indexes.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "scene/mesh_object.h"

namespace scene::testing {

struct ReferenceGeometry {
  std::vector<platform::Vec3f> positions;
  std::vector<platform::Vec3f> normals;
  std::vector<std::vector<std::array<float, 2>>> uvSets;
  std::vector<std::int32_t> cornerVertices;
  std::vector<std::int32_t> cornerMaterials;
  std::vector<MaterialEntry> materials;
  std::int32_t uvSetCount = 0;
};

// Reads the mesh of a mesh object that has not been built, through its own
// host tables and frame.
ReferenceGeometry BuildWithLinearScans(const MeshObject& object);

}  // namespace scene::testing
