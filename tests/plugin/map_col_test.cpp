// The COL file the map module writes beside its DFF, read back with
// dffinfo's COL reader and judged by the game's layout: vertices are
// metres x 128 in the clump's axes, (c - a) x (b - a) points out of a
// solid, flag 0x02 marks an entry with faces and 0x10 one with a shadow
// mesh.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <set>

#include "host/item_motion.h"
#include "tests/plugin/map_fixture.h"

namespace plugin::testing {
namespace {

using host::MessageKind;

// A closed tetrahedron around (x, y, z) in Layout's axes, each polygon
// wound as Layout winds a visible face: clockwise seen from outside.
host::Mesh Tetrahedron(float x, float y, float z, const std::array<std::string, 4>& surfaces) {
  host::Mesh mesh;
  mesh.points = {{x, y, z}, {x + 1, y, z}, {x, y + 1, z}, {x, y, z + 1}};
  const int faces[4][3] = {{0, 2, 1}, {0, 1, 3}, {0, 3, 2}, {1, 2, 3}};
  for (std::size_t f = 0; f < 4; ++f) {
    mesh.polygons.push_back({LWPOLTYPE_FACE, {faces[f][0], faces[f][1], faces[f][2]}, surfaces[f]});
  }
  return mesh;
}

std::vector<host::Surface> Surfaces(const std::vector<std::string>& names) {
  std::vector<host::Surface> surfaces;
  for (const std::string& name : names) surfaces.push_back(NamedSurface(name));
  return surfaces;
}

// The file's entries, which must satisfy the game's reader.
std::vector<dffinfo::ColEntryRecord> ReadCol(const fs::path& path) {
  const dffinfo::Inspection inspection = dffinfo::Inspect(ReadFileBytes(path));
  EXPECT_TRUE(inspection.sound());
  return inspection.colEntries;
}

using Point = std::array<double, 3>;

Point Metres(const dffinfo::ColVertex& v) { return {v[0] / 128.0, v[1] / 128.0, v[2] / 128.0}; }

// Every face's outward normal, (c - a) x (b - a), points away from the
// mesh's centre.
void ExpectFacesPointOut(const dffinfo::ColMesh& mesh) {
  Point centre{};
  for (const auto& v : mesh.vertices) {
    for (std::size_t axis = 0; axis < 3; ++axis) centre[axis] += Metres(v)[axis] / static_cast<double>(mesh.vertices.size());
  }
  for (const dffinfo::ColFace& f : mesh.faces) {
    const Point a = Metres(mesh.vertices.at(f.a));
    const Point b = Metres(mesh.vertices.at(f.b));
    const Point c = Metres(mesh.vertices.at(f.c));
    const Point ca{c[0] - a[0], c[1] - a[1], c[2] - a[2]};
    const Point ba{b[0] - a[0], b[1] - a[1], b[2] - a[2]};
    const Point normal{ca[1] * ba[2] - ca[2] * ba[1], ca[2] * ba[0] - ca[0] * ba[2], ca[0] * ba[1] - ca[1] * ba[0]};
    double outward = 0.0;
    for (std::size_t axis = 0; axis < 3; ++axis) outward += normal[axis] * (a[axis] - centre[axis]);
    EXPECT_GT(outward, 0.0);
  }
}

TEST_F(MapExportTest, CollisionAndShadowLayersBecomeTheColFile) {
  host::Mesh walls = SeparateTriangles(1);
  walls.points[0] = {-20, 0, 0};  // reaches past the collision: the bounds must hold it
  const host::Scene scene =
      SceneOf({{"house:walls", walls},
               {"house:col", Tetrahedron(1, 2, 3, {"Tarmac", "Grass short lush", "Tarmac", "Marble floor"})},
               {"house:shadow", SeparateTriangles(2)}},
              Surfaces({"Paint", "Tarmac", "Grass short lush", "Marble floor"}));
  host::StandInHost host(scene);
  Answer(dir_ / "house.dff");
  RunMap(host);

  const std::vector<dffinfo::ColEntryRecord> entries = ReadCol(dir_ / "house.col");
  ASSERT_EQ(entries.size(), 1u);
  const dffinfo::ColEntryRecord& entry = entries[0];
  EXPECT_EQ(entry.fourcc, "COL3");
  EXPECT_EQ(entry.name, "house");
  EXPECT_EQ(entry.flags & 0x12u, 0x12u);
  ASSERT_EQ(entry.mesh.faces.size(), 4u);
  EXPECT_EQ(entry.mesh.vertices.size(), 4u);
  EXPECT_EQ(entry.shadow.faces.size(), 2u);
  ExpectFacesPointOut(entry.mesh);
  // Layout's (1, 2, 3) is the clump's (-1, -3, 2).
  const std::set<dffinfo::ColVertex> vertices(entry.mesh.vertices.begin(), entry.mesh.vertices.end());
  EXPECT_EQ(vertices.count({-128, -384, 256}), 1u);
  std::multiset<int> materials;
  for (const dffinfo::ColFace& f : entry.mesh.faces) materials.insert(f.material);
  EXPECT_EQ(materials, (std::multiset<int>{0, 1, 1, 9}));  // DEFAULT, TARMAC twice, GRASS_SHORT_LUSH
  EXPECT_GE(entry.boxMax[0], 20.0f);

  const auto& messages = host.messages();
  ASSERT_GE(messages.size(), 2u);
  EXPECT_EQ(messages[messages.size() - 2].kind, MessageKind::kWarning);
  EXPECT_NE(messages[messages.size() - 2].line1.find("1 collision face has a surface that names no collision "
                                                     "surface (\"Marble floor\")"),
            std::string::npos)
      << messages[messages.size() - 2].line1;
  EXPECT_EQ(messages.back().kind, MessageKind::kInfo);
  EXPECT_NE(messages.back().line1.find(", house.txd (0 textures) and house.col (4 faces, 3 surfaces, 2 shadow "
                                       "faces)."),
            std::string::npos)
      << messages.back().line1;
}

TEST_F(MapExportTest, WithoutACollisionItemTheVisibleTrianglesAreTheCollision) {
  host::StandInHost host(SceneOf({{"house", Tetrahedron(0, 0, 0, {"Tarmac", "Tarmac", "Tarmac", "Tarmac"})},
                                  {"SM_house", SeparateTriangles(1)}},
                                 Surfaces({"Tarmac"})));
  Answer(dir_ / "a_very_long_house_name.dff");
  RunMap(host);

  const std::vector<dffinfo::ColEntryRecord> entries = ReadCol(dir_ / "a_very_long_house_name.col");
  ASSERT_EQ(entries.size(), 1u);
  EXPECT_EQ(entries[0].name, "a_very_long_house_nam");  // 21 bytes
  EXPECT_EQ(entries[0].mesh.faces.size(), 4u);
  EXPECT_EQ(entries[0].shadow.faces.size(), 1u);
  ExpectFacesPointOut(entries[0].mesh);
  const auto& messages = host.messages();
  ASSERT_GE(messages.size(), 2u);
  EXPECT_NE(messages[messages.size() - 2].line1.find("The COL entry is named \"a_very_long_house_nam\""),
            std::string::npos);
  EXPECT_NE(messages.back().line1.find("the visible triangles are the collision"), std::string::npos)
      << messages.back().line1;
}

TEST_F(MapExportTest, ACollisionVertexOutOfRangeWritesNoColButTheDffAndTxd) {
  host::Mesh far = SeparateTriangles(2);
  far.points[1] = {300, 0, 0};
  far.points[4] = {0, 0, -400};
  host::StandInHost host(SceneOf({{"house", SeparateTriangles(1)}, {"house_col", far}}, Surfaces({"Paint"})));
  Answer(dir_ / "house.dff");
  RunMap(host);

  EXPECT_FALSE(fs::exists(dir_ / "house.col"));
  EXPECT_TRUE(fs::exists(dir_ / "house.dff"));
  EXPECT_TRUE(fs::exists(dir_ / "house.txd"));
  ASSERT_FALSE(host.messages().empty());
  const host::Message& error = host.messages().back();
  EXPECT_EQ(error.kind, MessageKind::kError);
  // Layout's (0, 0, -400) is the clump's (0, 400, 0), the farthest corner.
  EXPECT_NE(error.line1.find("house.col was not written: 'house_col' reaches (0.00, 400.00, 0.00) m"),
            std::string::npos)
      << error.line1;
  EXPECT_EQ(error.line2, "Wrote house.dff (1 geometry, no vertex colours) and house.txd (0 textures). 1 collision "
                        "or shadow item was left out of the model.");
}

TEST_F(MapExportTest, AColThatCannotBeWrittenIsAnErrorThatSaysWhatWas) {
  fs::create_directories(dir_ / "house.col" / "in the way");
  host::StandInHost host(SceneOf({{"house", SeparateTriangles(1)}}, Surfaces({"Paint"})));
  Answer(dir_ / "house.dff");
  RunMap(host);

  EXPECT_TRUE(fs::is_regular_file(dir_ / "house.dff"));
  EXPECT_TRUE(fs::is_regular_file(dir_ / "house.txd"));
  EXPECT_TRUE(fs::is_directory(dir_ / "house.col" / "in the way"));
  const host::Message& last = host.messages().back();
  EXPECT_EQ(last.kind, MessageKind::kError);
  EXPECT_NE(last.line1.find("The COL file " + (dir_ / "house.col").string() + " was not written"), std::string::npos)
      << last.line1;
  EXPECT_EQ(last.line2.value_or("").rfind("Wrote house.dff (1 geometry, no vertex colours) and house.txd", 0), 0u);
}

// 11,000 separate triangles within 100 m of the origin: 33,000 distinct
// vertices, more than an entry holds.
host::Mesh TooManyVertices() {
  host::Mesh mesh;
  for (int t = 0; t < 11000; ++t) {
    const float x = static_cast<float>(t % 400) * 0.5f;
    const float y = static_cast<float>(t / 400) * 0.5f;
    mesh.points.push_back({x - 100, y, 0});
    mesh.points.push_back({x - 99.75f, y, 0});
    mesh.points.push_back({x - 100, y + 0.25f, 0});
    mesh.polygons.push_back({LWPOLTYPE_FACE, {3 * t, 3 * t + 1, 3 * t + 2}, "Paint"});
  }
  return mesh;
}

TEST_F(MapExportTest, ACollisionTooLargeIsAnErrorAndAVisibleModelTooLargeAWarning) {
  const host::Mesh big = TooManyVertices();
  host::StandInHost withItem(SceneOf({{"wall", SeparateTriangles(1)}, {"wall_col", big}}, Surfaces({"Paint"})));
  Answer(dir_ / "wall.dff");
  RunMap(withItem);
  EXPECT_FALSE(fs::exists(dir_ / "wall.col"));
  EXPECT_EQ(withItem.messages().back().kind, MessageKind::kError);
  EXPECT_NE(withItem.messages().back().line1.find("wall.col was not written: its collision has 11000 faces and "
                                                  "33000 vertices"),
            std::string::npos)
      << withItem.messages().back().line1;

  host::StandInHost visible(SceneOf({{"wall", big}}, Surfaces({"Paint"})));
  Answer(dir_ / "wall.dff");
  RunMap(visible);
  EXPECT_FALSE(fs::exists(dir_ / "wall.col"));
  const auto& messages = visible.messages();
  ASSERT_GE(messages.size(), 2u);
  EXPECT_EQ(messages[messages.size() - 2].kind, MessageKind::kWarning);
  EXPECT_NE(messages[messages.size() - 2].line2.value_or("").find("Add a collision layer"), std::string::npos);
  EXPECT_EQ(messages.back().kind, MessageKind::kInfo);
  EXPECT_EQ(messages.back().line1.find("wall.col"), std::string::npos) << messages.back().line1;
}

// A frame's matrix applied to a point as the game applies it.
Point ThroughFrames(const std::vector<dffinfo::FrameRecord>& frames, std::int64_t index, Point p) {
  for (; index >= 0; index = frames.at(static_cast<std::size_t>(index)).parent) {
    const dffinfo::FrameRecord& frame = frames.at(static_cast<std::size_t>(index));
    Point out{};
    for (std::size_t axis = 0; axis < 3; ++axis) {
      const auto m = [&frame](std::size_t i) { return static_cast<double>(frame.rotation[i]); };
      out[axis] = p[0] * m(axis) + p[1] * m(3 + axis) + p[2] * m(6 + axis) + static_cast<double>(frame.position[axis]);
    }
    p = out;
  }
  return p;
}

// The collision of a collision layer that is a copy of a visible one lies
// exactly on the visible layer as the DFF's frames place it, with a
// parent, a heading and pivots in the way.
TEST_F(MapExportTest, CollisionLinesUpWithTheModelAsTheGameDrawsIt) {
  const host::Mesh mesh = Tetrahedron(2, 1, -3, {"Paint", "Paint", "Paint", "Paint"});
  host::Scene scene = SceneOf({{"house:base", SeparateTriangles(1)}, {"house:roof", mesh}, {"house:roof_col", mesh}},
                              Surfaces({"Paint"}));
  scene.items[1].parent = 0;
  scene.items[2].parent = 0;
  std::vector<host::LocalPose> poses(3);
  poses[0].position = {4, 0.5, -2};
  poses[0].rotation = {0.6, 0.2, -0.1};
  poses[0].pivot = {1, 0, 0.5};
  for (std::size_t i = 1; i < 3; ++i) {
    poses[i].position = {1.5, 2, 0.25};
    poses[i].rotation = {-0.4, 0.1, 0.3};
    poses[i].pivot = {0.5, 1, -1};
  }
  host::SetMotionsAtTimeZero(scene.items, poses);
  host::StandInHost host(scene);
  Answer(dir_ / "house.dff");
  RunMap(host);

  const dffinfo::ClumpRecord clump = ReadSound(dir_ / "house.dff");
  ASSERT_EQ(clump.atomics.size(), 2u);
  const dffinfo::AtomicRecord& roof = clump.atomics[1];
  const dffinfo::GeometryRecord& geometry = clump.geometries.at(roof.geometryIndex);
  std::set<dffinfo::ColVertex> drawn;
  for (const dffinfo::Vec3& v : geometry.morphTargets.at(0).positions) {
    const Point p = ThroughFrames(clump.frames, roof.frameIndex,
                                  {static_cast<double>(v[0]), static_cast<double>(v[1]), static_cast<double>(v[2])});
    drawn.insert({static_cast<std::int16_t>(std::lround(p[0] * 128)), static_cast<std::int16_t>(std::lround(p[1] * 128)),
                  static_cast<std::int16_t>(std::lround(p[2] * 128))});
  }
  const std::vector<dffinfo::ColEntryRecord> entries = ReadCol(dir_ / "house.col");
  ASSERT_EQ(entries.size(), 1u);
  const std::set<dffinfo::ColVertex> collision(entries[0].mesh.vertices.begin(), entries[0].mesh.vertices.end());
  EXPECT_EQ(collision, drawn);
  ExpectFacesPointOut(entries[0].mesh);
}

}  // namespace
}  // namespace plugin::testing
