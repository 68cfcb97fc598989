// A mesh made coarser for a low-detail stand-in seen from far away.
//
// The mesh is the one geometry of a map model, in the arrays the clump
// writer reads.  Vertices that stand at one position and agree in every
// attribute (normal, texture coordinates, colours) and in the material of
// their triangles are welded for the simplifier; where any of these part,
// the vertices stay apart, and the simplifier keeps such a seam, moving
// its vertices only along it.  So texture seams, colour seams and material
// borders survive, and every kept vertex keeps its own attributes: the
// simplifier only removes vertices, it never moves one.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/matrix.h"

namespace simplify {

struct Mesh {
  std::vector<platform::Vec3f> positions;
  std::vector<platform::Vec3f> normals;                    // none, or one per vertex
  std::vector<std::vector<std::array<float, 2>>> uvSets;  // [set][vertex]
  std::vector<std::array<std::uint8_t, 4>> dayColors;      // none, or one per vertex
  std::vector<std::array<std::uint8_t, 4>> nightColors;    // none, or one per vertex
  std::vector<std::int32_t> cornerVertices;                // 3 per triangle
  std::vector<std::int32_t> cornerMaterials;               // 3 per triangle, alike within one

  std::size_t TriangleCount() const { return cornerVertices.size() / 3; }
};

struct Goal {
  // Keep at most this share of the triangles ...
  double triangleShare = 0.25;
  // ... unless the surface would then stray further than this share of
  // the mesh's extent (its bounding box's largest side): the simplifier
  // stops there.
  double errorLimit = 0.02;
};

struct Simplified {
  Mesh mesh;  // only the vertices the kept triangles use, in first use
  std::size_t trianglesBefore = 0;
  std::size_t trianglesAfter = 0;
  // How far the coarse surface strays from the original at most, in the
  // mesh's units, as the simplifier measured it.
  double errorBound = 0;
};

Simplified SimplifyMesh(const Mesh& mesh, const Goal& goal);

}  // namespace simplify
