#include "scene/mesh_parts.h"

#include <algorithm>
#include <cstddef>

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

// Fills one part from the whole's triangles [first, last).  `partVertex`
// maps the whole's vertices to the part's, -1 for none, and is left all -1
// again; `partMaterial` likewise for materials.  Only what the part
// touches is visited, so the parts together cost the whole's size.
void FillPart(MeshObject& part, const MeshObject& whole, std::size_t first, std::size_t last,
              std::vector<std::int32_t>& partVertex, std::vector<std::int32_t>& partMaterial) {
  std::vector<std::int32_t> wholeVertices;  // the part's vertices, as the whole's
  for (std::size_t corner = first * 3; corner < last * 3; ++corner) {
    std::int32_t& vertex = partVertex[static_cast<std::size_t>(whole.cornerVertices[corner])];
    if (vertex < 0) {
      vertex = static_cast<std::int32_t>(wholeVertices.size());
      wholeVertices.push_back(whole.cornerVertices[corner]);
    }
    part.cornerVertices.push_back(vertex);
    partMaterial[static_cast<std::size_t>(whole.cornerMaterials[corner])] = 0;
  }
  // Materials keep the whole's order.
  for (std::size_t m = 0; m < whole.materials.size(); ++m) {
    if (partMaterial[m] < 0) continue;
    partMaterial[m] = static_cast<std::int32_t>(part.materials.size());
    part.materials.push_back(whole.materials[m]);
  }
  for (std::size_t corner = first * 3; corner < last * 3; ++corner) {
    part.cornerMaterials.push_back(partMaterial[static_cast<std::size_t>(whole.cornerMaterials[corner])]);
  }
  for (std::size_t corner = first * 3; corner < last * 3; ++corner) {
    partMaterial[static_cast<std::size_t>(whole.cornerMaterials[corner])] = -1;
  }
  for (const std::int32_t w : wholeVertices) {
    const auto v = static_cast<std::size_t>(w);
    part.positions.push_back(whole.positions[v]);
    part.normals.push_back(whole.normals[v]);
    for (std::size_t set = 0; set < whole.uvSets.size(); ++set) part.uvSets[set].push_back(whole.uvSets[set][v]);
    if (!whole.dayColors.empty()) part.dayColors.push_back(whole.dayColors[v]);
    if (!whole.nightColors.empty()) part.nightColors.push_back(whole.nightColors[v]);
    partVertex[v] = -1;
  }
  part.triangleCount = static_cast<std::int32_t>(last - first);
  part.vertexCount = static_cast<std::int32_t>(wholeVertices.size());
}

// The vertices of triangle `t` not yet in the part: `seen` marks those in
// it.  A vertex at two corners of the triangle counts once.
std::int32_t AddedVertices(const MeshObject& whole, std::size_t t, const std::vector<bool>& seen) {
  const std::int32_t* corners = whole.cornerVertices.data() + t * 3;
  std::int32_t added = 0;
  for (std::size_t c = 0; c < 3; ++c) {
    const bool repeated = (c >= 1 && corners[c] == corners[0]) || (c == 2 && corners[2] == corners[1]);
    if (!repeated && !seen[static_cast<std::size_t>(corners[c])]) ++added;
  }
  return added;
}

}  // namespace

std::vector<std::unique_ptr<MeshObject>> SplitIntoParts(const MeshObject& whole, std::int32_t requestedLimit) {
  // Below 3 a triangle could fit no part.
  const std::int32_t limit = std::max(requestedLimit, 3);
  std::vector<std::unique_ptr<MeshObject>> parts;
  std::vector<std::int32_t> partVertex(static_cast<std::size_t>(whole.vertexCount), -1);
  std::vector<std::int32_t> partMaterial(whole.materials.size(), -1);
  // `seen` marks the vertices of the part being gathered, so that the
  // closing test counts only the vertices a triangle adds.
  std::vector<bool> seen(static_cast<std::size_t>(whole.vertexCount), false);
  const auto triangles = static_cast<std::size_t>(whole.triangleCount);
  std::size_t first = 0;
  while (first < triangles) {
    std::int32_t count = 0;
    std::size_t last = first;
    for (; last < triangles; ++last) {
      const std::int32_t added = AddedVertices(whole, last, seen);
      if (count + added > limit) break;
      for (std::size_t c = 0; c < 3; ++c) seen[static_cast<std::size_t>(whole.cornerVertices[last * 3 + c])] = true;
      count += added;
    }
    for (std::size_t corner = first * 3; corner < last * 3; ++corner) {
      seen[static_cast<std::size_t>(whole.cornerVertices[corner])] = false;
    }
    auto part = EmptyPartOf(whole, whole.meshIndex + static_cast<std::int32_t>(parts.size()));
    FillPart(*part, whole, first, last, partVertex, partMaterial);
    parts.push_back(std::move(part));
    first = last;
  }
  if (!parts.empty()) parts.front()->colorReport = whole.colorReport;
  return parts;
}

}  // namespace scene
