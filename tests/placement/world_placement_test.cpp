// Every vertex of an exported scene lands where Layout puts it: through
// both export commands (their DFF frames composed as the game composes
// them), the map command's COL and makecol's, against Layout's placement rule
// written in the test and against assimp's own reading of the scene.
// Scenes turn items by heading, pitch and bank, about pivots with pivot
// rotations, scale them unevenly, and chain them three deep with a null and
// a light between parents and children.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <unistd.h>

#include "dff_inspect/inspect.h"
#include "lightwave/lwo2_writer.h"
#include "lightwave/lws_writer.h"
#include "tests/placement/layout_rule.h"
#include "tests/support/files_and_programs.h"

namespace {
namespace fs = std::filesystem;
using placementtest::Point;
using placementtest::Pose;

constexpr double kDegree = 3.14159265358979323846 / 180.0;

// A wedge: a right triangle in z = 0 pulled out to z = 0.8, with a UV map
// that reads v = 1 along its top edge.
const std::vector<std::array<float, 3>> kWedge = {{0, 0, 0},   {1, 0, 0},   {0, 0.6f, 0},
                                                  {0, 0, 0.8f}, {1, 0, 0.8f}, {0, 0.6f, 0.8f}};

std::array<float, 2> WedgeUv(const std::array<float, 3>& point) { return {point[0], point[1] / 0.6f}; }

host::Lwo2Object Wedge() {
  host::Lwo2Layer layer;
  layer.mesh.points = kWedge;
  const std::vector<std::vector<int>> faces = {{0, 2, 1}, {3, 4, 5}, {0, 1, 4, 3}, {1, 2, 5, 4}, {2, 0, 3, 5}};
  for (const auto& face : faces) layer.mesh.polygons.push_back(host::Polygon{0x46414345u, face, "wedge"});
  host::UvMap uv;
  uv.name = "uv";
  for (int i = 0; i < static_cast<int>(kWedge.size()); ++i) {
    const std::array<float, 2> value = WedgeUv(kWedge[static_cast<std::size_t>(i)]);
    uv.pointValues.Set(i, value.data(), 2);
  }
  layer.mesh.uvMaps.push_back(uv);
  host::Lwo2Object object;
  object.layers.push_back(layer);
  host::Lwo2Surface surface;
  surface.name = "wedge";
  object.surfaces.push_back(surface);
  return object;
}

struct SceneItem {
  host::LwsItemKind kind = host::LwsItemKind::kObject;
  Pose pose;
};

// A root turned every way about a turned pivot; under it a null, under
// that a light, under that a wedge hinged at its corner (1, 0, 0), and
// under that one more, scaled unevenly.
std::vector<SceneItem> Chain(bool pivotRotations) {
  std::vector<SceneItem> items(5);
  items[0].pose = {-1, {1, 0.5, -2}, {30 * kDegree, 10 * kDegree, -20 * kDegree}, {1, 2, 0.5}, {0.2, 0.1, -0.3},
                   {pivotRotations ? 15 * kDegree : 0, 0, pivotRotations ? 5 * kDegree : 0}};
  items[1] = {host::LwsItemKind::kNull, {0, {0.5, 1, 0}, {0, 45 * kDegree, 0}, {1.5, 1.5, 1.5}}};
  items[2] = {host::LwsItemKind::kLight, {1, {0, -1, 1}, {90 * kDegree, 0, 0}}};
  items[3].pose = {2, {1, 0, 0}, {-60 * kDegree, 20 * kDegree, 30 * kDegree}, {1, 1, 1}, {1, 0, 0},
                   {0, pivotRotations ? -25 * kDegree : 0, 0}};
  items[4].pose = {3, {0, 2, 0}, {10 * kDegree, 0, 0}, {2, 1, 1}, {0, 0.5, 0}};
  return items;
}

std::vector<Pose> Poses(const std::vector<SceneItem>& items) {
  std::vector<Pose> poses;
  for (const SceneItem& item : items) poses.push_back(item.pose);
  return poses;
}

class WorldPlacement : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = fs::temp_directory_path() / ("velmora-placement-" + std::to_string(::getpid()));
    fs::remove_all(folder_);
    fs::create_directories(folder_);
    host::WriteLwo2File(Wedge(), (folder_ / "wedge.lwo").string());
  }
  void TearDown() override { fs::remove_all(folder_); }

  void WriteScene(const std::vector<SceneItem>& items) {
    std::vector<host::LwsWriterItem> written;
    for (const SceneItem& item : items) {
      host::LwsWriterItem w;
      w.kind = item.kind;
      w.objectPath = "wedge.lwo";
      w.name = item.kind == host::LwsItemKind::kNull ? "hinge" : "lamp";
      w.parent = item.pose.parent;
      w.position = item.pose.position;
      w.rotation = item.pose.rotation;
      w.scale = item.pose.scale;
      if (item.kind == host::LwsItemKind::kObject) {
        w.pivot = item.pose.pivot;
        w.pivotRotation = item.pose.pivotRotation;
      }
      written.push_back(w);
    }
    const std::string text = host::WriteLws(written);
    testsupport::WriteFileBytes(folder_ / "scene.lws", std::vector<std::uint8_t>(text.begin(), text.end()));
  }

  testsupport::ProgramResult Run(const std::string& commandLine) {
    return testsupport::RunInFolder(folder_, commandLine);
  }

  dffinfo::Inspection Read(const std::string& name) {
    std::vector<std::uint8_t> bytes;
    std::string error;
    EXPECT_TRUE(dffinfo::ReadWholeFile((folder_ / name).string(), bytes, error)) << error;
    return dffinfo::Inspect(bytes);
  }

  fs::path folder_;
};

// Each wedge item's points where Layout shows them, in item order.
std::vector<std::vector<Point>> LayoutPoints(const std::vector<SceneItem>& items) {
  const std::vector<Pose> poses = Poses(items);
  std::vector<std::vector<Point>> points;
  for (int i = 0; i < static_cast<int>(items.size()); ++i) {
    if (items[static_cast<std::size_t>(i)].kind != host::LwsItemKind::kObject) continue;
    points.emplace_back();
    for (const auto& p : kWedge) {
      points.back().push_back(placementtest::LayoutWorld(poses, i, placementtest::Widened(p)));
    }
  }
  return points;
}

// Every vertex of each atomic lies on one of its item's points, and every
// point has a vertex: the geometries are the wedge items in item order.
void ExpectAtomicsOnPoints(const dffinfo::ClumpRecord& clump, const std::vector<std::vector<Point>>& expected) {
  ASSERT_EQ(clump.atomics.size(), expected.size());
  for (const dffinfo::AtomicRecord& atomic : clump.atomics) {
    const dffinfo::GeometryRecord& geometry = clump.geometries.at(atomic.geometryIndex);
    const std::vector<Point>& points = expected.at(atomic.geometryIndex);
    std::vector<bool> met(points.size(), false);
    for (const dffinfo::Vec3& vertex : geometry.morphTargets.at(0).positions) {
      const Point world = placementtest::ThroughFrames(clump, atomic.frameIndex, vertex);
      std::size_t nearest = 0;
      for (std::size_t i = 1; i < points.size(); ++i) {
        if (placementtest::Distance(world, points[i]) < placementtest::Distance(world, points[nearest])) nearest = i;
      }
      EXPECT_LT(placementtest::Distance(world, points[nearest]), 1e-5) << "geometry " << atomic.geometryIndex;
      met[nearest] = true;
    }
    for (std::size_t i = 0; i < met.size(); ++i) EXPECT_TRUE(met[i]) << "point " << i;
  }
}

TEST_F(WorldPlacement, BothCommandsPutEveryVertexWhereLayoutShowsIt) {
  const std::vector<SceneItem> items = Chain(true);
  WriteScene(items);
  ASSERT_EQ(Run(std::string(LWHOST_PROGRAM) + " scene.lws -o first.dff --no-col").status, 0);
  ASSERT_EQ(Run(std::string(LWHOST_PROGRAM) + " --map scene.lws -o map.dff").status, 0);
  for (const char* name : {"first.dff", "map.dff"}) {
    SCOPED_TRACE(name);
    const dffinfo::Inspection dff = Read(name);
    ASSERT_TRUE(dff.sound());
    ExpectAtomicsOnPoints(dff.clumps.at(0), LayoutPoints(items));
  }
}

// The hinged wedge's frame stands at its pivot: the hinge corner is the
// frame's origin, so turning the frame in the game turns the part about
// its hinge, and the frame's origin is where Layout shows the pivot.
TEST_F(WorldPlacement, APartsFrameStandsAtItsPivot) {
  const std::vector<SceneItem> items = Chain(true);
  WriteScene(items);
  ASSERT_EQ(Run(std::string(LWHOST_PROGRAM) + " scene.lws -o first.dff --no-col").status, 0);
  const dffinfo::ClumpRecord clump = Read("first.dff").clumps.at(0);
  const dffinfo::AtomicRecord& hinged = clump.atomics.at(1);
  bool hingeAtOrigin = false;
  for (const dffinfo::Vec3& vertex : clump.geometries.at(hinged.geometryIndex).morphTargets.at(0).positions) {
    hingeAtOrigin = hingeAtOrigin || std::abs(vertex[0]) + std::abs(vertex[1]) + std::abs(vertex[2]) < 1e-6f;
  }
  EXPECT_TRUE(hingeAtOrigin);
  const Point origin = placementtest::ThroughFrames(clump, hinged.frameIndex, {0, 0, 0});
  EXPECT_LT(placementtest::Distance(origin, placementtest::LayoutWorld(Poses(items), 3, {1, 0, 0})), 1e-5);
}

// A texture's top row, v = 1 in LightWave, is the game's v = 0.
TEST_F(WorldPlacement, TextureCoordinatesAreTheGamesWayUp) {
  WriteScene({SceneItem{}});
  ASSERT_EQ(Run(std::string(LWHOST_PROGRAM) + " scene.lws -o first.dff --no-col").status, 0);
  const dffinfo::Inspection dff = Read("first.dff");
  const dffinfo::GeometryRecord& geometry = dff.clumps.at(0).geometries.at(0);
  ASSERT_EQ(geometry.uvSets.size(), 1u);
  const auto& positions = geometry.morphTargets.at(0).positions;
  for (std::size_t v = 0; v < positions.size(); ++v) {
    const Point layout = placementtest::FromGame(placementtest::Widened(positions[v]));
    const std::array<float, 2> uv = WedgeUv({static_cast<float>(layout[0]), static_cast<float>(layout[1]),
                                            static_cast<float>(layout[2])});
    EXPECT_NEAR(geometry.uvSets[0][v][0], uv[0], 1e-6f);
    EXPECT_NEAR(geometry.uvSets[0][v][1], 1.0f - uv[1], 1e-6f);
  }
}

// The collision of the map command (beside its DFF) and of makecol holds
// the same points, to the COL format's 1/128 m.
TEST_F(WorldPlacement, CollisionVerticesLieWhereLayoutShowsThePoints) {
  const std::vector<SceneItem> items = Chain(true);
  WriteScene(items);
  ASSERT_EQ(Run(std::string(MAKECOL_PROGRAM) + " scene.lws -o scene.col").status, 0);
  ASSERT_EQ(Run(std::string(LWHOST_PROGRAM) + " --map scene.lws -o map.dff").status, 0);
  std::vector<Point> expected;
  for (const auto& item : LayoutPoints(items)) expected.insert(expected.end(), item.begin(), item.end());
  for (const char* name : {"scene.col", "map.col"}) {
    SCOPED_TRACE(name);
    const dffinfo::Inspection col = Read(name);
    ASSERT_EQ(col.colEntries.size(), 1u);
    ASSERT_FALSE(col.colEntries[0].mesh.vertices.empty());
    for (const dffinfo::ColVertex& stored : col.colEntries[0].mesh.vertices) {
      const Point world = placementtest::FromGame({stored[0] / 128.0, stored[1] / 128.0, stored[2] / 128.0});
      double nearest = 1e9;
      for (const Point& point : expected) nearest = std::min(nearest, placementtest::Distance(world, point));
      EXPECT_LT(nearest, 1.0 / 128);
    }
  }
}

// assimp's LightWave loader, made by other people, pre-transforms the
// scene's vertices into one space; it flips Layout's z.  Its loader takes
// no pivot rotation, so the scene leaves those out.
std::vector<Point> AssimpVertices(const fs::path& obj) {
  std::vector<Point> vertices;
  std::ifstream in(obj);
  for (std::string line; std::getline(in, line);) {
    if (line.rfind("v ", 0) != 0) continue;
    std::istringstream values(line.substr(2));
    Point p{};
    values >> p[0] >> p[1] >> p[2];
    vertices.push_back({p[0], p[1], -p[2]});
  }
  return vertices;
}

TEST_F(WorldPlacement, AgreesWithAssimpsReadingOfTheScene) {
  if (std::system("command -v assimp > /dev/null 2>&1") != 0) GTEST_SKIP() << "assimp is not installed";
  WriteScene(Chain(false));
  ASSERT_EQ(Run("assimp export scene.lws assimp.obj -ptv").status, 0);
  const std::vector<Point> theirs = AssimpVertices(folder_ / "assimp.obj");
  ASSERT_EQ(theirs.size() % kWedge.size(), 0u);
  ASSERT_FALSE(theirs.empty());
  ASSERT_EQ(Run(std::string(LWHOST_PROGRAM) + " scene.lws -o first.dff --no-col").status, 0);
  const dffinfo::ClumpRecord clump = Read("first.dff").clumps.at(0);
  std::vector<bool> met(theirs.size(), false);
  for (const dffinfo::AtomicRecord& atomic : clump.atomics) {
    for (const dffinfo::Vec3& vertex : clump.geometries.at(atomic.geometryIndex).morphTargets.at(0).positions) {
      const Point ours = placementtest::ThroughFrames(clump, atomic.frameIndex, vertex);
      std::size_t nearest = 0;
      for (std::size_t i = 1; i < theirs.size(); ++i) {
        if (placementtest::Distance(ours, theirs[i]) < placementtest::Distance(ours, theirs[nearest])) nearest = i;
      }
      EXPECT_LT(placementtest::Distance(ours, theirs[nearest]), 1e-5);
      met[nearest] = true;
    }
  }
  for (std::size_t i = 0; i < met.size(); ++i) EXPECT_TRUE(met[i]) << "assimp's vertex " << i;
}

}  // namespace
