// Polygons cut into triangles that cover them once and face their way.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "tools/makecol/polygon_triangles.h"

namespace {

using makecol::Point;

// Twice the signed area of the triangle seen along +y (the plane x, z).
double TwiceArea(const Point& a, const Point& b, const Point& c) {
  return (b[2] - a[2]) * (c[0] - a[0]) - (b[0] - a[0]) * (c[2] - a[2]);
}

TEST(PolygonTriangles, AConcavePolygonIsCutIntoEarsThatKeepItsTurn) {
  // An L in the plane y = 2, of area 3, walked one way and then the other,
  // from a corner that a fan would cut wrongly.
  std::vector<Point> corners = {{2, 2, 1}, {2, 2, 0}, {0, 2, 0}, {0, 2, 2}, {1, 2, 2}, {1, 2, 1}};
  for (double turn : {1.0, -1.0}) {
    const auto triangles = makecol::TriangulatePolygon(corners);
    ASSERT_EQ(triangles.size(), 4u);
    double total = 0.0;
    for (const auto& t : triangles) {
      const double area = TwiceArea(corners[t[0]], corners[t[1]], corners[t[2]]);
      EXPECT_GT(area * turn, 0.0) << "every triangle turns as the polygon does";
      total += area;
    }
    EXPECT_NEAR(total, 6.0 * turn, 1e-12) << "the triangles cover the L once";
    std::reverse(corners.begin(), corners.end());
  }
}

TEST(PolygonTriangles, TrianglesAndVeryLargePolygonsAreFans) {
  EXPECT_EQ(makecol::TriangulatePolygon({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}),
            (std::vector<std::array<std::size_t, 3>>{{0, 1, 2}}));
  std::vector<Point> circle;
  for (std::size_t i = 0; i <= makecol::kMaxEarClippedCorners; ++i) {
    const double angle = 2 * M_PI * static_cast<double>(i) / (makecol::kMaxEarClippedCorners + 1);
    circle.push_back({std::cos(angle), 0, std::sin(angle)});
  }
  const auto triangles = makecol::TriangulatePolygon(circle);
  ASSERT_EQ(triangles.size(), circle.size() - 2);
  EXPECT_EQ(triangles.back(), (std::array<std::size_t, 3>{0, circle.size() - 2, circle.size() - 1}));
  EXPECT_TRUE(makecol::TriangulatePolygon({{0, 0, 0}, {1, 0, 0}}).empty());
}

}  // namespace
