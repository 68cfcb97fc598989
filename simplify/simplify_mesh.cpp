#include "simplify/simplify_mesh.h"

#include <cmath>

#include <meshoptimizer.h>

#include "simplify/attribute_weld.h"

namespace simplify {
namespace {

// The kept triangles over the vertices they use, each vertex carrying the
// attributes of the mesh vertex it was welded from.
Mesh KeptMesh(const Mesh& mesh, const Welded& welded, const std::vector<std::uint32_t>& kept) {
  Mesh out;
  out.uvSets.resize(mesh.uvSets.size());
  std::vector<std::int32_t> outputOf(welded.source.size(), -1);
  for (std::uint32_t index : kept) {
    std::int32_t& output = outputOf[index];
    if (output < 0) {
      output = static_cast<std::int32_t>(out.positions.size());
      const auto v = static_cast<std::size_t>(welded.source[index]);
      out.positions.push_back(mesh.positions[v]);
      if (!mesh.normals.empty()) out.normals.push_back(mesh.normals[v]);
      for (std::size_t set = 0; set < mesh.uvSets.size(); ++set) out.uvSets[set].push_back(mesh.uvSets[set][v]);
      if (!mesh.dayColors.empty()) out.dayColors.push_back(mesh.dayColors[v]);
      if (!mesh.nightColors.empty()) out.nightColors.push_back(mesh.nightColors[v]);
    }
    out.cornerVertices.push_back(output);
  }
  // A triangle's corners keep one material: the simplifier collapses a
  // vertex only onto a neighbour it shares a triangle with, and welding
  // gave each material its own vertices.
  out.cornerMaterials.reserve(kept.size());
  for (std::size_t corner = 0; corner < kept.size(); corner += 3) {
    const std::int32_t material = welded.material[kept[corner]];
    out.cornerMaterials.insert(out.cornerMaterials.end(), {material, material, material});
  }
  return out;
}

}  // namespace

Simplified SimplifyMesh(const Mesh& mesh, const Goal& goal) {
  Simplified result;
  result.trianglesBefore = mesh.TriangleCount();
  const Welded welded = WeldByAttributes(mesh);
  const std::size_t vertexCount = welded.source.size();
  const auto targetTriangles =
      static_cast<std::size_t>(std::floor(goal.triangleShare * static_cast<double>(result.trianglesBefore)));
  std::vector<std::uint32_t> kept(welded.indices.size());
  float error = 0.0f;
  kept.resize(meshopt_simplify(kept.data(), welded.indices.data(), welded.indices.size(), welded.positions.data(),
                               vertexCount, 3 * sizeof(float), 3 * targetTriangles,
                               static_cast<float>(goal.errorLimit), 0, &error));
  const float scale = meshopt_simplifyScale(welded.positions.data(), vertexCount, 3 * sizeof(float));
  result.errorBound = static_cast<double>(error) * static_cast<double>(scale);
  result.mesh = KeptMesh(mesh, welded, kept);
  result.trianglesAfter = result.mesh.TriangleCount();
  return result;
}

}  // namespace simplify
