// The vertices the simplifier sees: the mesh's vertices welded where they
// stand at one position and agree in every attribute and in the material
// of their triangles.  A vertex used by triangles of two materials becomes
// two, so that a material border is a seam like a texture seam.
#pragma once

#include <cstdint>
#include <vector>

#include "simplify/simplify_mesh.h"

namespace simplify {

struct Welded {
  std::vector<std::uint32_t> indices;   // 3 per triangle, into the welded vertices
  std::vector<std::int32_t> source;     // per welded vertex, a mesh vertex it stands for
  std::vector<std::int32_t> material;   // per welded vertex, its triangles' material
  std::vector<float> positions;         // per welded vertex, x, y, z
};

// Costs one hash look-up per vertex and per corner.
Welded WeldByAttributes(const Mesh& mesh);

}  // namespace simplify
