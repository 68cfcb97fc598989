// A polygon cut into triangles whose corners keep the polygon's order, so
// that each triangle faces the way the polygon does.
#pragma once

#include <array>
#include <vector>

namespace makecol {

using Point = std::array<double, 3>;

// Triangles as index triples into `corners`.  Convex and concave polygons
// are cut by clipping ears in the polygon's own plane; a polygon of more
// than kMaxEarClippedCorners corners, or one whose ears run out (it crosses
// itself), is cut as a fan from its first corner, which keeps the cost
// linear in its size.
inline constexpr std::size_t kMaxEarClippedCorners = 256;
std::vector<std::array<std::size_t, 3>> TriangulatePolygon(const std::vector<Point>& corners);

}  // namespace makecol
