// Splitting a host polygon into triangles.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "platform/matrix.h"

namespace scene {

// Splits host polygons into triangles.  One splitter serves every polygon
// of a mesh: its working buffers are kept from one polygon to the next, so
// that a mesh of quads costs no allocation per polygon.
class PolygonTriangulator {
 public:
  // Appends the triangles of a polygon to `triangles`, as host vertex
  // numbers in the polygon's own winding.  `vertices` are the polygon's
  // positions in host vertex order (at least three).  A convex polygon
  // becomes the fan (0, i, i + 1) for i = 1 .. n - 2; a concave one is cut
  // by ear clipping in its best-fit plane.  Always n - 2 triangles, even
  // for a degenerate or self-intersecting outline.
  void Triangulate(const std::vector<platform::Vec3f>& vertices,
                   std::vector<std::array<std::int32_t, 3>>& triangles);

  // A position in the plane the outline is projected onto.
  struct Point2 {
    double u = 0.0, v = 0.0;
  };

 private:
  std::vector<Point2> outline_;
  std::vector<std::int32_t> remaining_;
};

}  // namespace scene
