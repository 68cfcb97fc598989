// Which items and how many geometries the map module writes: collision
// and shadow items left out, big meshes split into parts the game can
// address, and the scenes it refuses.
#include <gtest/gtest.h>

#include <set>

#include "tests/plugin/map_fixture.h"

namespace plugin::testing {
namespace {

using host::MessageKind;

std::vector<std::string> FrameNames(const dffinfo::ClumpRecord& clump) {
  std::vector<std::string> names;
  for (const dffinfo::FrameRecord& frame : clump.frames) names.push_back(frame.name.value_or(""));
  return names;
}

TEST_F(MapExportTest, CollisionAndShadowItemsAreLeftOut) {
  const host::Mesh one = SeparateTriangles(1);
  host::Scene scene = SceneOf({{"house:walls", one},
                               {"house:COL", one},
                               {"house:col_roof", one},
                               {"Shadow_house", one},
                               {"house:SM_walls", one},
                               {"roof_col", one},
                               {"house:colour", one},
                               {"house:shadowless", one}},
                              {NamedSurface("Paint")});
  host::StandInHost host(scene);
  Answer(dir_ / "house.dff");
  RunMap(host);

  const dffinfo::ClumpRecord clump = ReadSound(dir_ / "house.dff");
  EXPECT_EQ(FrameNames(clump), (std::vector<std::string>{"walls", "colour", "shadowless"}));
  EXPECT_EQ(clump.geometries.size(), 3u);
  EXPECT_EQ(clump.atomics.size(), 3u);
  EXPECT_NE(host.messages().back().line1.find("5 collision or shadow items were left out of the model."),
            std::string::npos)
      << host.messages().back().line1;
}

TEST_F(MapExportTest, ScenesWithoutAModelAreRefusedAndCancelEndsSilently) {
  host::StandInHost onlyCollision(SceneOf({{"col", SeparateTriangles(1)}}, {NamedSurface("Paint")}));
  Answer(dir_ / "col.dff");
  RunMap(onlyCollision);
  ASSERT_EQ(onlyCollision.messages().size(), 1u);
  EXPECT_EQ(onlyCollision.messages()[0].kind, MessageKind::kError);
  EXPECT_NE(onlyCollision.messages()[0].line1.find("collision or shadow item"), std::string::npos);
  EXPECT_FALSE(fs::exists(dir_ / "col.dff"));

  host::Scene empty = SceneOf({}, {});
  host::StandInHost noPoints(empty);
  RunMap(noPoints);
  ASSERT_EQ(noPoints.messages().size(), 1u);
  EXPECT_EQ(noPoints.messages()[0].line1, "The scene has no points, so there is no map object to export.");
  EXPECT_TRUE(noPoints.fileRequests().empty());

  host::StandInHost cancelled(SceneOf({{"house", SeparateTriangles(1)}}, {NamedSurface("Paint")}));
  Answer(std::nullopt);
  RunMap(cancelled);
  EXPECT_EQ(cancelled.fileRequests().size(), 1u);
  EXPECT_EQ(cancelled.fileRequests()[0].baseName, "house.dff");
  EXPECT_TRUE(cancelled.messages().empty());
}

// Triangles of three vertices each, all on "Stone" except the last, on
// "Moss": 21,845 make 65,535 vertices, one more triangle 65,538.
host::Mesh BigMesh(int triangles) {
  host::Mesh mesh = SeparateTriangles(triangles, "Stone");
  mesh.polygons.back().surface = "Moss";
  return mesh;
}

TEST_F(MapExportTest, AMeshAtTheVertexLimitIsOneGeometry) {
  host::StandInHost host(SceneOf({{"wall", BigMesh(21845)}}, {NamedSurface("Stone"), NamedSurface("Moss")}));
  Answer(dir_ / "wall.dff");
  RunMap(host);
  const dffinfo::ClumpRecord clump = ReadSound(dir_ / "wall.dff");
  ASSERT_EQ(clump.geometries.size(), 1u);
  EXPECT_EQ(clump.geometries[0].vertexCount, 65535u);
  EXPECT_EQ(clump.geometries[0].materialList->materials.size(), 2u);
}

TEST_F(MapExportTest, AMeshOverTheVertexLimitIsSplitIntoPartsOnItsFrame) {
  host::StandInHost host(SceneOf({{"wall", BigMesh(21846)}}, {NamedSurface("Stone"), NamedSurface("Moss")}));
  Answer(dir_ / "wall.dff");
  RunMap(host);

  const dffinfo::ClumpRecord clump = ReadSound(dir_ / "wall.dff");
  ASSERT_EQ(clump.geometries.size(), 2u);
  ASSERT_EQ(clump.atomics.size(), 2u);
  EXPECT_EQ(clump.frames.size(), 1u);
  std::uint32_t triangles = 0;
  std::set<std::array<float, 3>> corners;  // every triangle's first corner, once
  for (std::size_t i = 0; i < 2; ++i) {
    const dffinfo::GeometryRecord& g = clump.geometries[i];
    EXPECT_LE(g.vertexCount, 65535u);
    EXPECT_EQ(clump.atomics[i].frameIndex, 0u);
    EXPECT_EQ(clump.atomics[i].geometryIndex, i);
    triangles += g.triangleCount;
    for (const dffinfo::Triangle& t : g.triangles) corners.insert(g.morphTargets.at(0).positions.at(t.a));
  }
  EXPECT_EQ(triangles, 21846u);
  EXPECT_EQ(corners.size(), 21846u) << "every triangle is in exactly one part";
  // The first part closes at 65,535 vertices: its triangles are all stone;
  // the last triangle, alone in the second, is the only moss.
  EXPECT_EQ(clump.geometries[0].triangleCount, 21845u);
  EXPECT_EQ(clump.geometries[0].materialList->materials.size(), 1u);
  EXPECT_EQ(clump.geometries[1].materialList->materials.size(), 1u);
  EXPECT_EQ(clump.geometries[1].vertexCount, 3u);
  // The wall reaches too far for a COL file, so the summary of what was
  // written follows that error.
  EXPECT_NE(host.messages().back().line2.value_or("").find("\"wall\" has more vertices than one geometry can address and was "
                                              "split into 2 parts."),
            std::string::npos)
      << host.messages().back().line2.value_or("");
}

}  // namespace
}  // namespace plugin::testing
