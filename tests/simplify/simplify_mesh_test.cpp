// The simplifier on a flat square of 32 x 32 cells (2,048 triangles)
// with a texture seam down its middle and a material border across it:
// it keeps at most the share of triangles, never moves a vertex or
// changes its attributes, and leaves no triangle across the seam or the
// border, so each side keeps its area.
#include <gtest/gtest.h>

#include <cmath>
#include <map>

#include "simplify/simplify_mesh.h"

namespace {

constexpr int kCells = 32;
constexpr float kSeam = 16.0f;    // x of the texture seam
constexpr float kBorder = 10.0f;  // z of the material border

std::int32_t MaterialAt(float z) { return z < kBorder ? 0 : 1; }

// The points of each half of the square carry their own u, so the points
// on the seam are two vertices each; vertices on the border are shared by
// both materials' triangles.
simplify::Mesh Square() {
  simplify::Mesh mesh;
  mesh.uvSets.resize(1);
  std::map<std::pair<int, int>, std::int32_t> vertexOf;  // (point, side)
  const auto vertex = [&](int column, int row, int side) {
    const auto [found, added] = vertexOf.emplace(std::make_pair(row * (kCells + 1) + column, side),
                                                 static_cast<std::int32_t>(mesh.positions.size()));
    if (added) {
      const float x = static_cast<float>(column), z = static_cast<float>(row);
      mesh.positions.push_back({x, 0.0f, z});
      mesh.uvSets[0].push_back({side == 0 ? x / kSeam : 2.0f - x / kSeam, z / kCells});
      mesh.dayColors.push_back({static_cast<std::uint8_t>(column * 7), static_cast<std::uint8_t>(row * 5), 9, 255});
    }
    return found->second;
  };
  for (int row = 0; row < kCells; ++row) {
    for (int column = 0; column < kCells; ++column) {
      const int side = static_cast<float>(column) < kSeam ? 0 : 1;
      const std::int32_t a = vertex(column, row, side), b = vertex(column + 1, row, side);
      const std::int32_t c = vertex(column + 1, row + 1, side), d = vertex(column, row + 1, side);
      const std::int32_t material = MaterialAt(static_cast<float>(row) + 0.5f);
      mesh.cornerVertices.insert(mesh.cornerVertices.end(), {a, c, b, a, d, c});
      mesh.cornerMaterials.insert(mesh.cornerMaterials.end(), 6, material);
    }
  }
  return mesh;
}

double Area(const simplify::Mesh& mesh, std::size_t triangle) {
  const platform::Vec3f& a = mesh.positions[static_cast<std::size_t>(mesh.cornerVertices[3 * triangle])];
  const platform::Vec3f& b = mesh.positions[static_cast<std::size_t>(mesh.cornerVertices[3 * triangle + 1])];
  const platform::Vec3f& c = mesh.positions[static_cast<std::size_t>(mesh.cornerVertices[3 * triangle + 2])];
  return 0.5 * std::fabs(static_cast<double>((b.x - a.x) * (c.z - a.z) - (c.x - a.x) * (b.z - a.z)));
}

TEST(SimplifyMesh, KeepsAtMostTheShareAndEveryVertexAsItWas) {
  const simplify::Mesh square = Square();
  const simplify::Simplified result = simplify::SimplifyMesh(square, {0.25, 0.02});
  EXPECT_EQ(result.trianglesBefore, 2048u);
  EXPECT_GT(result.trianglesAfter, 0u);
  EXPECT_LE(result.trianglesAfter, 512u);
  EXPECT_EQ(result.mesh.TriangleCount(), result.trianglesAfter);
  EXPECT_EQ(result.errorBound, 0.0);  // a flat square stays flat
  const simplify::Mesh& kept = result.mesh;
  for (std::size_t v = 0; v < kept.positions.size(); ++v) {
    bool found = false;
    for (std::size_t o = 0; o < square.positions.size() && !found; ++o) {
      const platform::Vec3f& p = square.positions[o];
      const platform::Vec3f& q = kept.positions[v];
      found = p.x == q.x && p.y == q.y && p.z == q.z && square.uvSets[0][o] == kept.uvSets[0][v] &&
              square.dayColors[o] == kept.dayColors[v];
    }
    EXPECT_TRUE(found) << "vertex " << v;
  }
}

TEST(SimplifyMesh, KeepsTextureSeamsAndMaterialBorders) {
  const simplify::Simplified result = simplify::SimplifyMesh(Square(), {0.25, 0.02});
  const simplify::Mesh& kept = result.mesh;
  std::map<std::pair<bool, std::int32_t>, double> area;  // (right of the seam, material)
  for (std::size_t t = 0; t < kept.TriangleCount(); ++t) {
    float left = kCells, right = 0, low = kCells, high = 0;
    for (std::size_t corner = 0; corner < 3; ++corner) {
      const platform::Vec3f& p = kept.positions[static_cast<std::size_t>(kept.cornerVertices[3 * t + corner])];
      left = std::min(left, p.x), right = std::max(right, p.x), low = std::min(low, p.z), high = std::max(high, p.z);
      EXPECT_EQ(kept.cornerMaterials[3 * t + corner], kept.cornerMaterials[3 * t]);
    }
    EXPECT_TRUE(right <= kSeam || left >= kSeam) << "triangle " << t << " crosses the seam";
    EXPECT_TRUE(high <= kBorder || low >= kBorder) << "triangle " << t << " crosses the border";
    EXPECT_EQ(kept.cornerMaterials[3 * t], MaterialAt((low + high) / 2)) << "triangle " << t;
    area[{left >= kSeam, kept.cornerMaterials[3 * t]}] += Area(kept, t);
  }
  const double leftLow = area[{false, 0}], rightLow = area[{true, 0}];
  const double leftHigh = area[{false, 1}], rightHigh = area[{true, 1}];
  EXPECT_DOUBLE_EQ(leftLow, kSeam * kBorder);
  EXPECT_DOUBLE_EQ(rightLow, (kCells - kSeam) * kBorder);
  EXPECT_DOUBLE_EQ(leftHigh, kSeam * (kCells - kBorder));
  EXPECT_DOUBLE_EQ(rightHigh, (kCells - kSeam) * (kCells - kBorder));
}

// A bent surface cannot lose as many triangles: the simplifier stops at
// the error limit and reports how far it strayed, within the limit.
TEST(SimplifyMesh, StopsAtTheErrorLimitAndReportsIt) {
  simplify::Mesh wavy = Square();
  for (platform::Vec3f& p : wavy.positions) p.y = 2.0f * std::sin(p.x * 0.7f) * std::cos(p.z * 0.5f);
  const simplify::Simplified loose = simplify::SimplifyMesh(wavy, {0.05, 0.5});
  const simplify::Simplified tight = simplify::SimplifyMesh(wavy, {0.05, 0.001});
  EXPECT_LT(loose.trianglesAfter, tight.trianglesAfter);
  EXPECT_GT(loose.errorBound, 0.0);
  EXPECT_LE(tight.errorBound, 0.001 * kCells);
}

}  // namespace
