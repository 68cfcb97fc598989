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

// Takes the whole's triangles from `first` on while the part's vertices
// stay within `limit`, and returns the end of the run.  Each vertex new to
// the part is numbered in `partVertex` (the whole's vertices to the
// part's, -1 for none) and appended to `wholeVertices`, so the part's
// vertices come in order of first use.  A vertex at two corners of a
// triangle counts once.
std::size_t GatherPart(const MeshObject& whole, std::size_t first, std::int32_t limit,
                       std::vector<std::int32_t>& partVertex, std::vector<std::int32_t>& wholeVertices) {
  const auto triangles = static_cast<std::size_t>(whole.triangleCount);
  std::size_t last = first;
  for (; last < triangles; ++last) {
    const std::int32_t* corners = whole.cornerVertices.data() + last * 3;
    std::int32_t added = 0;
    for (std::size_t c = 0; c < 3; ++c) {
      const bool repeated = (c >= 1 && corners[c] == corners[0]) || (c == 2 && corners[2] == corners[1]);
      if (!repeated && partVertex[static_cast<std::size_t>(corners[c])] < 0) ++added;
    }
    if (static_cast<std::int32_t>(wholeVertices.size()) + added > limit) break;
    for (std::size_t c = 0; c < 3; ++c) {
      std::int32_t& vertex = partVertex[static_cast<std::size_t>(corners[c])];
      if (vertex >= 0) continue;
      vertex = static_cast<std::int32_t>(wholeVertices.size());
      wholeVertices.push_back(corners[c]);
    }
  }
  return last;
}

// The part's materials, those its corners use in the whole's order, and
// its corners' positions in them.  `partMaterial` maps the whole's
// materials to the part's and is left all -1 again.
void FillPartMaterials(MeshObject& part, const MeshObject& whole, std::size_t first, std::size_t last,
                       std::vector<std::int32_t>& partMaterial) {
  for (std::size_t corner = first * 3; corner < last * 3; ++corner) {
    partMaterial[static_cast<std::size_t>(whole.cornerMaterials[corner])] = 0;
  }
  for (std::size_t m = 0; m < whole.materials.size(); ++m) {
    if (partMaterial[m] < 0) continue;
    partMaterial[m] = static_cast<std::int32_t>(part.materials.size());
    part.materials.push_back(whole.materials[m]);
  }
  part.cornerMaterials.resize((last - first) * 3);
  for (std::size_t corner = first * 3; corner < last * 3; ++corner) {
    part.cornerMaterials[corner - first * 3] = partMaterial[static_cast<std::size_t>(whole.cornerMaterials[corner])];
  }
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

// Fills one part from the whole's triangles [first, last), whose vertices
// GatherPart listed, and leaves `partVertex` all -1 again.  Every array
// is allocated once at its final size, as the parts together hold as much
// as the whole, which is still held.
void FillPart(MeshObject& part, const MeshObject& whole, std::size_t first, std::size_t last,
              const std::vector<std::int32_t>& wholeVertices, std::vector<std::int32_t>& partVertex,
              std::vector<std::int32_t>& partMaterial) {
  part.cornerVertices.resize((last - first) * 3);
  for (std::size_t corner = first * 3; corner < last * 3; ++corner) {
    part.cornerVertices[corner - first * 3] = partVertex[static_cast<std::size_t>(whole.cornerVertices[corner])];
  }
  FillPartMaterials(part, whole, first, last, partMaterial);
  CopyVertexArray(part.positions, whole.positions, wholeVertices);
  CopyVertexArray(part.normals, whole.normals, wholeVertices);
  for (std::size_t set = 0; set < whole.uvSets.size(); ++set) {
    CopyVertexArray(part.uvSets[set], whole.uvSets[set], wholeVertices);
  }
  CopyVertexArray(part.dayColors, whole.dayColors, wholeVertices);
  CopyVertexArray(part.nightColors, whole.nightColors, wholeVertices);
  for (const std::int32_t w : wholeVertices) partVertex[static_cast<std::size_t>(w)] = -1;
  part.triangleCount = static_cast<std::int32_t>(last - first);
  part.vertexCount = static_cast<std::int32_t>(wholeVertices.size());
}

}  // namespace

std::vector<std::unique_ptr<MeshObject>> SplitIntoParts(const MeshObject& whole, std::int32_t requestedLimit) {
  // Below 3 a triangle could fit no part.
  const std::int32_t limit = std::max(requestedLimit, 3);
  std::vector<std::unique_ptr<MeshObject>> parts;
  std::vector<std::int32_t> partVertex(static_cast<std::size_t>(whole.vertexCount), -1);
  std::vector<std::int32_t> partMaterial(whole.materials.size(), -1);
  std::vector<std::int32_t> wholeVertices;  // the part's vertices, as the whole's
  wholeVertices.reserve(static_cast<std::size_t>(std::min(limit, whole.vertexCount)));
  const auto triangles = static_cast<std::size_t>(whole.triangleCount);
  std::size_t first = 0;
  while (first < triangles) {
    wholeVertices.clear();
    const std::size_t last = GatherPart(whole, first, limit, partVertex, wholeVertices);
    auto part = EmptyPartOf(whole, whole.meshIndex + static_cast<std::int32_t>(parts.size()));
    FillPart(*part, whole, first, last, wholeVertices, partVertex, partMaterial);
    parts.push_back(std::move(part));
    first = last;
  }
  if (!parts.empty()) parts.front()->colorReport = whole.colorReport;
  return parts;
}

}  // namespace scene
