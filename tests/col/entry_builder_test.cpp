// From triangles in metres to an entry: the 1/128 m grid and its range,
// shared vertices, surfaces by name, bounds, limits.
#include <gtest/gtest.h>

#include <cmath>

#include "col/entry_builder.h"
#include "col/item_roles.h"
#include "col/surface_types.h"

namespace {

col::SourceTriangle Triangle(col::Point a, col::Point b, col::Point c, std::uint32_t item = 0,
                             std::uint32_t surface = 0) {
  return {{a, b, c}, item, surface};
}

TEST(SurfaceNames, MatchTheGameNamesLooselyOrByLeadingNumber) {
  EXPECT_EQ(col::ResolveSurfaceName("TARMAC"), 1);
  EXPECT_EQ(col::ResolveSurfaceName("grass short-lush"), 9);
  EXPECT_EQ(col::ResolveSurfaceName("Grass_Short Lush"), 9);
  EXPECT_EQ(col::ResolveSurfaceName("p-forrestleaves"), 130) << "the game's own spelling";
  EXPECT_EQ(col::ResolveSurfaceName("railtrack"), 178);
  EXPECT_EQ(col::ResolveSurfaceName("12"), 12);
  EXPECT_EQ(col::ResolveSurfaceName("12 grass"), 12);
  EXPECT_EQ(col::ResolveSurfaceName("0"), 0);
  EXPECT_EQ(col::ResolveSurfaceName("178_rail"), 178);
  EXPECT_FALSE(col::ResolveSurfaceName("179"));
  EXPECT_FALSE(col::ResolveSurfaceName("99999999999999999999"));
  EXPECT_FALSE(col::ResolveSurfaceName("3d body")) << "a number must stand apart";
  EXPECT_FALSE(col::ResolveSurfaceName("Paint"));
  EXPECT_FALSE(col::ResolveSurfaceName(""));
  EXPECT_FALSE(col::ResolveSurfaceName("tarmac "));
  EXPECT_STREQ(col::SurfaceTypeName(63), "CAR");
  EXPECT_EQ(col::SurfaceTypeName(179), nullptr);
}

TEST(ItemRoles, FollowTheNamingRules) {
  using col::ItemRole;
  for (const char* name : {"col", "COLLISION", "col_walls", "CM_house", "house_Col"}) {
    EXPECT_EQ(col::RoleOfName(name), ItemRole::kCollision) << name;
  }
  for (const char* name : {"Shadow", "shadow_body", "sm_car", "car_SHADOW"}) {
    EXPECT_EQ(col::RoleOfName(name), ItemRole::kShadow) << name;
  }
  for (const char* name : {"column", "colour_col1", "shadows", "smooth", "", "collisions"}) {
    EXPECT_EQ(col::RoleOfName(name), ItemRole::kVisual) << name;
  }
  EXPECT_EQ(col::RoleOfItem("house:col", "col"), ItemRole::kCollision);
  EXPECT_EQ(col::RoleOfItem("house", "shadow"), ItemRole::kShadow);
}

TEST(EntryBuilder, SharesVerticesOnTheGridAndKeepsCornerOrder) {
  col::EntrySource source;
  source.name = "floor";
  source.items = {"floor_col"};
  source.surfaces = {"tarmac", "Paint"};
  // Two triangles of a square; the shared corners differ by less than
  // half a grid step.
  source.collision = {Triangle({0, 0, 0}, {0, 1, 0}, {1, 0, 0}, 0, 0),
                      Triangle({1.001, 0, 0}, {0, 1.002, 0}, {1, 1, 0}, 0, 1),
                      Triangle({0, 0, 0}, {0.002, 0, 0}, {1, 1, 1}, 0, 0)};
  const col::BuiltEntry built = col::BuildEntry(source);
  ASSERT_EQ(built.failure, col::BuildFailure::kNone) << built.error;
  const col::Mesh& mesh = built.entry.mesh;
  EXPECT_EQ(mesh.vertices.size(), 4u);
  ASSERT_EQ(mesh.faces.size(), 2u);
  EXPECT_EQ(built.collapsedFaces, 1u) << "two corners on one grid point";
  EXPECT_EQ((col::PackedVertex{0, 128, 0}), mesh.vertices[mesh.faces[0].b]) << "corner order kept";
  EXPECT_EQ(mesh.faces[0].material, 1);
  EXPECT_EQ(mesh.faces[1].material, 0);
  EXPECT_EQ(mesh.faces[0].light, 0xFF);
  EXPECT_EQ(built.unknownSurfaces, std::vector<std::string>{"Paint"});
  EXPECT_EQ(built.defaultedFaces, 1u);
  EXPECT_EQ(built.SurfaceCount(), 2u);
  EXPECT_TRUE(built.entry.faceGroups.empty());
}

TEST(EntryBuilder, BoundsHoldTheCollisionTheShadowAndTheVisibleModel) {
  col::EntrySource source;
  source.items = {"a"};
  source.surfaces = {"0"};
  source.collision = {Triangle({0, 0, 0}, {1, 0, 0}, {0, 1, 0})};
  source.shadow = {Triangle({0, 0, -0.7}, {1, 0, -0.7}, {0, 1, -0.7})};
  source.visual = {{-3.1, 0.2, 0.5}, {0.3, 2.9, 1.7}};
  const col::Bounds b = col::BuildEntry(source).entry.bounds;
  EXPECT_LE(b.min[0], -3.1f);
  EXPECT_LE(b.min[2], -0.7f);
  EXPECT_GE(b.max[1], 2.9f);
  EXPECT_GE(b.max[2], 1.7f);
  // The sphere holds every corner of the box.
  for (int corner = 0; corner < 8; ++corner) {
    double squared = 0;
    for (std::size_t axis = 0; axis < 3; ++axis) {
      const auto at = static_cast<double>((corner >> axis) & 1 ? b.max[axis] : b.min[axis]);
      const auto centre = static_cast<double>(b.centre[axis]);
      squared += (at - centre) * (at - centre);
    }
    EXPECT_LE(std::sqrt(squared), static_cast<double>(b.radius));
  }
}

TEST(EntryBuilder, BoundsOnlyKeepsNothingButTheBoundsAndSkipsTheRangeCheck) {
  col::EntrySource source;
  source.items = {"far"};
  source.surfaces = {"x"};
  source.collision = {Triangle({0, 0, 0}, {400, 0, 0}, {0, 1, 0})};
  source.boundsOnly = true;
  const col::BuiltEntry built = col::BuildEntry(source);
  EXPECT_EQ(built.failure, col::BuildFailure::kNone);
  EXPECT_FALSE(built.entry.HasCollision());
  EXPECT_GE(built.entry.bounds.max[0], 400.0f);
}

TEST(EntryBuilder, NamesTheItemAndItsFarthestPointOutOfRange) {
  col::EntrySource source;
  source.items = {"house:col", "house:col_roof"};
  source.surfaces = {"0"};
  source.collision = {Triangle({0, 0, 0}, {255.99, 0, 0}, {-256, 0, 0}, 0),  // the edge of the range
                      Triangle({0, 0, 0}, {0, 300, 0}, {0, 0, -257.5}, 1),
                      Triangle({0, 0, 0}, {0, 0, 400}, {1, 0, 0}, 1)};
  col::BuiltEntry built = col::BuildEntry(source);
  EXPECT_EQ(built.failure, col::BuildFailure::kOutOfRange);
  EXPECT_NE(built.error.find("'house:col_roof'"), std::string::npos) << built.error;
  EXPECT_NE(built.error.find("(0.00, 0.00, 400.00)"), std::string::npos) << built.error;

  source.collision.resize(1);
  built = col::BuildEntry(source);
  EXPECT_EQ(built.failure, col::BuildFailure::kNone) << built.error;
  EXPECT_EQ(built.entry.mesh.vertices.at(1)[0], 32767);
  EXPECT_EQ(built.entry.mesh.vertices.at(2)[0], -32768);

  source.collision = {Triangle({0, 0, 0}, {1, 0, 0}, {0, std::nan(""), 0})};
  EXPECT_EQ(col::BuildEntry(source).failure, col::BuildFailure::kOutOfRange);
}

TEST(EntryBuilder, RefusesMoreVerticesThanSignedIndicesReach) {
  col::EntrySource source;
  source.items = {"dense"};
  source.surfaces = {"0"};
  // 10,923 separate triangles: 32,769 vertices.
  for (int i = 0; i < 10923; ++i) {
    const double x = (i % 100) * 0.1, y = (i / 100) * 0.1;
    source.collision.push_back(Triangle({x, y, 0}, {x + 0.05, y, 0}, {x, y + 0.05, 0}));
  }
  const col::BuiltEntry built = col::BuildEntry(source);
  EXPECT_EQ(built.failure, col::BuildFailure::kTooLarge);
  EXPECT_NE(built.error.find("32769 vertices"), std::string::npos) << built.error;
}

TEST(EntryBuilder, GroupsLargeMeshesSoThatEveryFaceStaysOnce) {
  col::EntrySource source;
  source.items = {"grid"};
  source.surfaces = {"0"};
  for (int i = 0; i < 30; ++i) {
    for (int j = 0; j < 30; ++j) {
      source.collision.push_back(Triangle({i * 1.0, j * 1.0, 0}, {i + 1.0, j * 1.0, 0}, {i * 1.0, j + 1.0, 0}));
    }
  }
  const col::BuiltEntry built = col::BuildEntry(source);
  ASSERT_FALSE(built.entry.faceGroups.empty());
  EXPECT_EQ(built.entry.mesh.faces.size(), 900u);
  EXPECT_EQ(built.entry.faceGroups.back().last, 899);
  EXPECT_EQ(col::FitEntryName("caf\xc3\xa9_with_a_long_na\xc3\xa9xyz"), "caf\xc3\xa9_with_a_long_na")
      << "never cut inside a character";
}

}  // namespace
