#include "scene/mesh_parts.h"

#include <algorithm>
#include <cstddef>
#include <vector>

namespace scene {
namespace {

std::unique_ptr<MeshObject> EmptyPartOf(const MeshObject& whole, std::int32_t meshIndex) {
  auto part = std::make_unique<MeshObject>(whole.itemId, whole.objectInfo, whole.sceneObjects, whole.surfaceFuncs,
                                           whole.imageList, whole.textureFuncs, meshIndex, whole.frame,
                                           whole.objectFileName);
  part->readColors = whole.readColors;
  part->uvSetCount = whole.uvSetCount;
  part->colorSetCount = whole.colorSetCount;
  part->uvSets.resize(whole.uvSets.size());
  return part;
}

// The part being gathered: the whole's vertices it uses, in order of first
// use, and its corners, each as its vertex in the part and its material in
// the whole.
struct PartCorners {
  std::vector<std::int32_t> wholeVertices;
  std::vector<std::int32_t> vertices;
  std::vector<std::int32_t> materials;
};

// Takes the whole's triangles from `first` on while the part's vertices
// stay within `limit`, and returns the end of the run.  Each vertex new to
// the part is numbered in `partVertex` (the whole's vertices to the
// part's, -1 for none) and appended to the part's wholeVertices; a vertex
// at two corners of a triangle counts once.  Each material a corner uses
// is marked 0 in `partMaterial`.  One pass over the whole's corners.
std::size_t GatherPart(const MeshObject& whole, std::size_t first, std::int32_t limit,
                       std::vector<std::int32_t>& partVertex, std::vector<std::int32_t>& partMaterial,
                       PartCorners& part) {
  const auto triangles = static_cast<std::size_t>(whole.triangleCount);
  std::size_t last = first;
  for (; last < triangles; ++last) {
    const std::int32_t* corners = whole.cornerVertices.data() + last * 3;
    std::int32_t added = 0;
    for (std::size_t c = 0; c < 3; ++c) {
      const bool repeated = (c >= 1 && corners[c] == corners[0]) || (c == 2 && corners[2] == corners[1]);
      if (!repeated && partVertex[static_cast<std::size_t>(corners[c])] < 0) ++added;
    }
    if (static_cast<std::int32_t>(part.wholeVertices.size()) + added > limit) break;
    for (std::size_t c = 0; c < 3; ++c) {
      std::int32_t& vertex = partVertex[static_cast<std::size_t>(corners[c])];
      if (vertex < 0) {
        vertex = static_cast<std::int32_t>(part.wholeVertices.size());
        part.wholeVertices.push_back(corners[c]);
      }
      part.vertices.push_back(vertex);
      const std::int32_t material = whole.cornerMaterials[last * 3 + c];
      partMaterial[static_cast<std::size_t>(material)] = 0;
      part.materials.push_back(material);
    }
  }
  return last;
}

// The part's materials, those its corners use in the whole's order, and
// its corners' positions in them.  `partMaterial` marks the used materials
// with 0 and is left all -1 again.
void FillPartMaterials(MeshObject& part, const MeshObject& whole, std::vector<std::int32_t> cornerMaterials,
                       std::vector<std::int32_t>& partMaterial) {
  for (std::size_t m = 0; m < whole.materials.size(); ++m) {
    if (partMaterial[m] < 0) continue;
    partMaterial[m] = static_cast<std::int32_t>(part.materials.size());
    part.materials.push_back(whole.materials[m]);
  }
  for (std::int32_t& material : cornerMaterials) material = partMaterial[static_cast<std::size_t>(material)];
  part.cornerMaterials = std::move(cornerMaterials);
  for (std::int32_t& material : partMaterial) material = -1;
}

// Copies the entries of `wholeVertices` from one of the whole's per-vertex
// arrays; an array the whole leaves empty stays empty.
template <class T>
void CopyVertexArray(std::vector<T>& to, const std::vector<T>& from, const std::vector<std::int32_t>& wholeVertices) {
  if (from.empty()) return;
  to.resize(wholeVertices.size());
  for (std::size_t j = 0; j < wholeVertices.size(); ++j) to[j] = from[static_cast<std::size_t>(wholeVertices[j])];
}

// Fills one part from the gathered corners, and leaves `partVertex` all -1
// again.
void FillPart(MeshObject& part, const MeshObject& whole, PartCorners corners, std::vector<std::int32_t>& partVertex,
              std::vector<std::int32_t>& partMaterial) {
  part.triangleCount = static_cast<std::int32_t>(corners.vertices.size() / 3);
  part.vertexCount = static_cast<std::int32_t>(corners.wholeVertices.size());
  part.cornerVertices = std::move(corners.vertices);
  FillPartMaterials(part, whole, std::move(corners.materials), partMaterial);
  const std::vector<std::int32_t>& wholeVertices = corners.wholeVertices;
  CopyVertexArray(part.positions, whole.positions, wholeVertices);
  CopyVertexArray(part.normals, whole.normals, wholeVertices);
  for (std::size_t set = 0; set < whole.uvSets.size(); ++set) {
    CopyVertexArray(part.uvSets[set], whole.uvSets[set], wholeVertices);
  }
  CopyVertexArray(part.dayColors, whole.dayColors, wholeVertices);
  CopyVertexArray(part.nightColors, whole.nightColors, wholeVertices);
  for (const std::int32_t w : wholeVertices) partVertex[static_cast<std::size_t>(w)] = -1;
}

}  // namespace

std::vector<std::unique_ptr<MeshObject>> SplitIntoParts(const MeshObject& whole, std::int32_t requestedLimit) {
  // Below 3 a triangle could fit no part.
  const std::int32_t limit = std::max(requestedLimit, 3);
  std::vector<std::unique_ptr<MeshObject>> parts;
  std::vector<std::int32_t> partVertex(static_cast<std::size_t>(whole.vertexCount), -1);
  std::vector<std::int32_t> partMaterial(whole.materials.size(), -1);
  const auto triangles = static_cast<std::size_t>(whole.triangleCount);
  // A closed mesh has about two triangles a vertex: room for that many is
  // seldom exceeded and seldom much more than a part takes.
  const std::size_t roomTriangles = 2 * static_cast<std::size_t>(limit) + 2;
  std::size_t first = 0;
  while (first < triangles) {
    PartCorners corners;
    corners.wholeVertices.reserve(static_cast<std::size_t>(std::min(limit, whole.vertexCount)));
    corners.vertices.reserve(3 * std::min(roomTriangles, triangles - first));
    corners.materials.reserve(corners.vertices.capacity());
    first = GatherPart(whole, first, limit, partVertex, partMaterial, corners);
    auto part = EmptyPartOf(whole, whole.meshIndex + static_cast<std::int32_t>(parts.size()));
    FillPart(*part, whole, std::move(corners), partVertex, partMaterial);
    parts.push_back(std::move(part));
  }
  if (!parts.empty()) parts.front()->colorReport = whole.colorReport;
  return parts;
}

}  // namespace scene
