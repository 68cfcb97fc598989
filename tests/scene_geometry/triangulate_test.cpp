#include "scene/triangulate.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdint>
#include <vector>

namespace scene {
namespace {

using Triangles = std::vector<std::array<std::int32_t, 3>>;

struct Point2d {
  double x, y;
};

// The outline placed in 3D: x along `u`, y along `v`.
std::vector<platform::Vec3f> Place(const std::vector<Point2d>& outline, platform::Vec3f u, platform::Vec3f v) {
  std::vector<platform::Vec3f> placed;
  for (const Point2d& p : outline) {
    const auto x = static_cast<float>(p.x), y = static_cast<float>(p.y);
    placed.push_back({x * u.x + y * v.x, x * u.y + y * v.y, x * u.z + y * v.z});
  }
  return placed;
}

std::vector<platform::Vec3f> Flat(const std::vector<Point2d>& outline) {
  return Place(outline, {1.0f, 0.0f, 0.0f}, {0.0f, 1.0f, 0.0f});
}

Triangles Split(const std::vector<platform::Vec3f>& vertices) {
  Triangles triangles;
  PolygonTriangulator().Triangulate(vertices, triangles);
  return triangles;
}

double SignedArea(const std::vector<Point2d>& p, const std::array<std::int32_t, 3>& t) {
  const Point2d &a = p[static_cast<std::size_t>(t[0])], &b = p[static_cast<std::size_t>(t[1])],
                &c = p[static_cast<std::size_t>(t[2])];
  return 0.5 * ((b.x - a.x) * (c.y - a.y) - (b.y - a.y) * (c.x - a.x));
}

double OutlineArea(const std::vector<Point2d>& p) {
  double area = 0.0;
  for (std::size_t i = 0; i < p.size(); ++i) {
    const Point2d &a = p[i], &b = p[(i + 1) % p.size()];
    area += 0.5 * (a.x * b.y - b.x * a.y);
  }
  return area;
}

// A correct triangulation of a simple outline covers it exactly once with
// triangles that all turn the outline's way.
void ExpectTiles(const std::vector<Point2d>& outline, const Triangles& triangles) {
  ASSERT_EQ(triangles.size(), outline.size() - 2);
  const double area = OutlineArea(outline);
  double covered = 0.0;
  for (const auto& t : triangles) {
    const double part = SignedArea(outline, t);
    EXPECT_GT(part * area, 0.0) << "triangle " << t[0] << " " << t[1] << " " << t[2] << " is turned over";
    covered += part;
  }
  EXPECT_NEAR(covered, area, 1e-9);
}

// An arrow head starting at a barb, so that the fan from vertex 0 would
// cover the notch beneath the arrow.
const std::vector<Point2d> kArrow = {{2, -1}, {0, 1}, {-2, -1}, {0, 3}};
// A comb with three teeth.
const std::vector<Point2d> kComb = {{0, 0}, {5, 0}, {5, 3}, {4, 3}, {4, 1}, {3, 1}, {3, 3},
                                    {2, 3}, {2, 1}, {1, 1}, {1, 3}, {0, 3}};

TEST(Triangulate, ConvexPolygonsBecomeTheFanFromTheFirstVertex) {
  EXPECT_EQ(Split(Flat({{0, 0}, {1, 0}, {1, 1}, {0, 1}})), (Triangles{{0, 1, 2}, {0, 2, 3}}));
  // Collinear vertices on an edge do not make an outline concave.
  EXPECT_EQ(Split(Flat({{0, 0}, {1, 0}, {2, 0}, {2, 2}, {0, 2}})), (Triangles{{0, 1, 2}, {0, 2, 3}, {0, 3, 4}}));
  // Clockwise and in another plane: still the fan.
  EXPECT_EQ(Split(Place({{0, 0}, {0, 1}, {1, 1}, {1, 0}}, {0, 0, 1}, {0, 1, 0})), (Triangles{{0, 1, 2}, {0, 2, 3}}));
}

TEST(Triangulate, ConcaveOutlinesAreTiledWithTheirOwnWinding) {
  ExpectTiles(kArrow, Split(Flat(kArrow)));
  ExpectTiles(kComb, Split(Flat(kComb)));

  std::vector<Point2d> clockwise(kComb.rbegin(), kComb.rend());
  ExpectTiles(clockwise, Split(Flat(clockwise)));
}

TEST(Triangulate, ConcaveOutlinesInATiltedPlaneAreCutInThatPlane) {
  // A plane leaning on all three axes; the outline's own coordinates give
  // the areas, since the placement keeps lengths.
  const float s = 1.0f / std::sqrt(2.0f), t = 1.0f / std::sqrt(6.0f);
  const platform::Vec3f u{s, -s, 0.0f}, v{t, t, -2.0f * t};
  ExpectTiles(kComb, Split(Place(kComb, u, v)));
  ExpectTiles(kArrow, Split(Place(kArrow, v, u)));
}

TEST(Triangulate, OutlinesThatTouchThemselvesStillGiveOneTrianglePerVertexBeyondTwo) {
  // Two triangles meeting in one point, which the outline visits twice:
  // both lobes covered, the two extra triangles without area.
  const std::vector<Point2d> twoLobes = {{0, 0}, {2, -1}, {2, 1}, {0, 0}, {-2, 1}, {-2, -1}};
  const Triangles lobes = Split(Flat(twoLobes));
  ASSERT_EQ(lobes.size(), 4u);
  double covered = 0.0;
  for (const auto& t : lobes) {
    EXPECT_GE(SignedArea(twoLobes, t), 0.0);
    covered += SignedArea(twoLobes, t);
  }
  EXPECT_NEAR(covered, OutlineArea(twoLobes), 1e-9);

  // Crossing itself, or without any area: the count still holds.
  EXPECT_EQ(Split(Flat({{0, 0}, {4, 0}, {4, 4}, {2, -2}, {0, 4}})).size(), 3u);
  EXPECT_EQ(Split(Flat({{0, 0}, {1, 0}, {2, 0}, {3, 0}})).size(), 2u);
  const double nan = std::nan("");
  EXPECT_EQ(Split(Flat({{0, 0}, {1, 0}, {nan, 1}, {0, 1}, {0.5, 0.5}})).size(), 3u);
}

TEST(Triangulate, OneTriangulatorSplitsEachPolygonAsIfItWereTheFirst) {
  // The buffers left by a longer concave outline must not leak into a
  // shorter one, nor into a convex one that needs no clipping.
  const std::vector<std::vector<Point2d>> outlines = {kComb, kArrow, {{0, 0}, {1, 0}, {1, 1}, {0, 1}}, kComb};
  PolygonTriangulator reused;
  for (const auto& outline : outlines) {
    Triangles triangles;
    reused.Triangulate(Flat(outline), triangles);
    EXPECT_EQ(triangles, Split(Flat(outline)));
  }
}

}  // namespace
}  // namespace scene
