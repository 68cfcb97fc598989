// The import module's object loader, run as Layout's Load Object runs it:
// a DFF our commands wrote comes in as one object whose layers stand where
// the scene converter's items put them, with their names, parents, pivots,
// surfaces and colour maps; other files are left to other loaders, damaged
// ones refused with dffinfo's words; a version 3 host and a stopped load
// are served as they expect.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <filesystem>
#include <string>
#include <tuple>
#include <vector>

#include "dff_inspect/inspect.h"
#include "host/lightwave_files.h"
#include "host/module_loader.h"
#include "host/object_import.h"
#include "host/standin_host.h"
#include "lightwave/lwo2_writer.h"
#include "lightwave/lwo_reader.h"
#include "lightwave/lws_writer.h"
#include "lwsdk/item_info.h"
#include "render/model_scene.h"
#include "tests/import/chain_scene.h"
#include "tests/support/files_and_programs.h"

namespace {
namespace fs = std::filesystem;

constexpr std::uint32_t kFace = 0x46414345u;

class ObjectLoader : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("velmora-loader-" + std::to_string(::getpid()) + "-" +
                                        ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir_);
    fs::create_directories(dir_);
    fs::copy(EXAMPLE_DIR, dir_ / "buggy", fs::copy_options::recursive);
  }
  void TearDown() override { fs::remove_all(dir_); }

  testsupport::ProgramResult Run(const std::string& program, const std::string& arguments) {
    return testsupport::RunInFolder(dir_, "'" + program + "' " + arguments);
  }
  void Lwhost(const std::string& arguments) {
    const testsupport::ProgramResult result = Run(LWHOST_PATH, arguments);
    ASSERT_EQ(result.status, 0) << arguments << "\n" << result.err;
  }

  host::ObjectLoad Load(const std::string& file, const host::ObjectLoadOptions& options = {}) {
    host::ObjectLoad load = host::LoadThroughObjectLoaders(module_, host_.global(), (dir_ / file).string(), options);
    EXPECT_TRUE(load.faults.empty()) << load.faults.front();
    return load;
  }

  fs::path dir_;
  host::PluginModule module_{VELMORA_IMPORT_MODULE_PATH};
  host::StandInHost host_{host::Scene{}};
};

// A prelit house for the map command: day and night colours with a seam,
// and collision and shadow layers.
host::Lwo2Object House() {
  host::Lwo2Object object;
  host::Lwo2Layer visible;
  visible.name = "house";
  visible.mesh.points = {{0, 0, 0}, {2, 0, 0}, {2, 2, 0}, {0, 2, 0}, {4, 0, 1}, {4, 2, 1}};
  visible.mesh.polygons = {{kFace, {0, 1, 2, 3}, "wall"}, {kFace, {1, 4, 5, 2}, "roof"}};
  host::UvMap uv;
  uv.name = "uv";
  for (int p = 0; p < 6; ++p) uv.pointValues[p] = {0.25f * static_cast<float>(p), 0.5f};
  host::UvMap day;
  day.name = "day";
  day.type = host::kVertexMapRgba;
  day.dimension = 4;
  host::UvMap night = day;
  night.name = "night";
  for (int p = 0; p < 6; ++p) {
    const float f = static_cast<float>(p) / 8.0f;
    day.pointValues[p] = {f, 1.0f - f, 0.5f, 1.0f};
    night.pointValues[p] = {0.1f, f, 0.2f, 0.75f};
  }
  day.polygonValues[{2, 1}] = {1.0f, 0.0f, 0.0f, 1.0f};
  visible.mesh.uvMaps = {uv};
  visible.mesh.colorMaps = {day, night};
  host::Lwo2Layer collision;
  collision.number = 1;
  collision.name = "col";
  collision.mesh.points = {{-1, 0, -1}, {5, 0, -1}, {5, 0, 3}, {-1, 0, 3}};
  collision.mesh.polygons = {{kFace, {0, 1, 2}, "TARMAC"}, {kFace, {0, 2, 3}, "GRASS_SHORT_LUSH"}};
  host::Lwo2Layer shadow;
  shadow.number = 2;
  shadow.name = "shadow";
  shadow.mesh.points = {{0, 0.1f, 0}, {4, 0.1f, 0}, {4, 0.1f, 2}};
  shadow.mesh.polygons = {{kFace, {0, 1, 2}, "TARMAC"}};
  object.layers = {visible, collision, shadow};
  host::Lwo2Surface wall;
  wall.name = "wall";
  wall.color = {0.5, 0.25, 1.0};
  wall.vertexColorMap = "day";
  host::Lwo2Surface roof = wall;
  roof.name = "roof";
  roof.transparency = 0.5;
  object.surfaces = {wall, roof};
  return object;
}

host::Vec3 Sub(const host::Vec3& a, const host::Vec3& b) { return {a[0] - b[0], a[1] - b[1], a[2] - b[2]}; }

// Where Layout shows a point of an item at rest.
host::Vec3 InWorld(const host::Item& item, const host::Vec3& point) {
  const host::Motion& m = item.atTimeZero;
  const host::Vec3 p = Sub(point, m.Get(LWIP_PIVOT));
  host::Vec3 world = m.Get(LWIP_W_POSITION);
  const host::Vec3 axes[3] = {m.Get(LWIP_RIGHT), m.Get(LWIP_UP), m.Get(LWIP_FORWARD)};
  for (std::size_t a = 0; a < 3; ++a) {
    for (std::size_t c = 0; c < 3; ++c) world[c] += axes[a][c] * p[a];
  }
  return world;
}

void ExpectNear(const host::Vec3& expected, const std::array<float, 3>& actual, const std::string& what) {
  for (std::size_t c = 0; c < 3; ++c) EXPECT_NEAR(expected[c], actual[c], 1e-5) << what << " axis " << c;
}

TEST_F(ObjectLoader, LayersStandWhereTheConvertersSceneShowsTheItems) {
  importtest::WriteChainScene(dir_, false);
  Lwhost("chain.lws -o chain.dff --no-col");
  Lwhost("--import chain.dff -o scene");
  const host::Scene scene = host::LoadSceneFile((dir_ / "scene/chain.lws").string());
  const host::ObjectLoad load = Load("chain.dff");
  ASSERT_EQ(load.result, LWOBJIM_OK) << load.failure;
  EXPECT_EQ(load.loader, "DFF Loader");
  EXPECT_TRUE(load.doneCalled);

  // The object's layers follow the scene's items that hold geometry.
  std::vector<int> layerOfItem(scene.items.size(), -1);
  std::size_t next = 0;
  for (std::size_t i = 0; i < scene.items.size(); ++i) {
    if (scene.items[i].mesh >= 0) layerOfItem[i] = static_cast<int>(next++);
  }
  ASSERT_EQ(load.object.layers.size(), 4u);
  ASSERT_EQ(next, 4u);
  for (std::size_t i = 0; i < scene.items.size(); ++i) {
    const host::Item& item = scene.items[i];
    if (layerOfItem[i] < 0) continue;
    const host::Lwo2Layer& layer = load.object.layers[static_cast<std::size_t>(layerOfItem[i])];
    SCOPED_TRACE(item.name);
    EXPECT_EQ(layer.number, layerOfItem[i]);
    EXPECT_NE(item.name.find(layer.name), std::string::npos) << layer.name;
    int parent = item.parent;
    while (parent >= 0 && layerOfItem[static_cast<std::size_t>(parent)] < 0) {
      parent = scene.items[static_cast<std::size_t>(parent)].parent;
    }
    EXPECT_EQ(layer.parent, parent < 0 ? -1 : layerOfItem[static_cast<std::size_t>(parent)]);
    const host::Vec3 pivot = item.atTimeZero.Get(LWIP_W_POSITION);
    ExpectNear(
        pivot,
        {static_cast<float>(layer.pivot[0]), static_cast<float>(layer.pivot[1]), static_cast<float>(layer.pivot[2])},
        "pivot");
    const host::Mesh& mesh = scene.meshes[static_cast<std::size_t>(item.mesh)];
    ASSERT_EQ(layer.mesh.points.size(), mesh.points.size());
    ASSERT_EQ(layer.mesh.polygons.size(), mesh.polygons.size());
    for (std::size_t p = 0; p < mesh.points.size(); ++p) {
      const auto& point = mesh.points[p];
      ExpectNear(
          InWorld(item, {static_cast<double>(point[0]), static_cast<double>(point[1]), static_cast<double>(point[2])}),
          layer.mesh.points[p], "point " + std::to_string(p));
    }
    for (std::size_t q = 0; q < mesh.polygons.size(); ++q) {
      EXPECT_EQ(layer.mesh.polygons[q].points, mesh.polygons[q].points);
      EXPECT_EQ(layer.mesh.polygons[q].surface, mesh.polygons[q].surface);
    }
    ASSERT_EQ(layer.mesh.uvMaps.size(), 1u);
    EXPECT_TRUE(layer.mesh.uvMaps[0].pointValues == mesh.uvMaps[0].pointValues);
  }
  ASSERT_FALSE(load.object.surfaces.empty());
  EXPECT_EQ(load.object.surfaces[0].name, scene.objectFiles[0].surfaces[0].name);
  EXPECT_EQ(load.object.surfaces[0].color, scene.objectFiles[0].surfaces[0].color);
}

TEST_F(ObjectLoader, AMapModelKeepsItsColourMapsSurfacesAndVisibleCollisionLayers) {
  host::WriteLwo2File(House(), (dir_ / "house.lwo").string());
  Lwhost("--map house.lwo -o house.dff");
  Lwhost("--import house.dff -o scene");
  const host::Lwo2Object converted = host::ReadLwo(testsupport::ReadFileBytes(dir_ / "scene/house.lwo"), "house.lwo");
  const host::ObjectLoad load = Load("house.dff");
  ASSERT_EQ(load.result, LWOBJIM_OK) << load.failure;
  ASSERT_EQ(load.object.layers.size(), 3u);
  const host::Lwo2Layer& house = load.object.layers[0];
  const host::Lwo2Layer& expected = converted.layers[0];
  EXPECT_EQ(house.name, "house");
  EXPECT_EQ(house.mesh.points, expected.mesh.points);  // the frame stands at the origin
  ASSERT_EQ(house.mesh.colorMaps.size(), 2u);
  for (std::size_t m = 0; m < 2; ++m) {
    EXPECT_EQ(house.mesh.colorMaps[m].name, expected.mesh.colorMaps[m].name);
    EXPECT_EQ(house.mesh.colorMaps[m].type, host::kVertexMapRgba);
    EXPECT_TRUE(house.mesh.colorMaps[m].pointValues == expected.mesh.colorMaps[m].pointValues);
    EXPECT_TRUE(house.mesh.colorMaps[m].polygonValues == expected.mesh.colorMaps[m].polygonValues);
  }
  EXPECT_FALSE(house.mesh.colorMaps[0].polygonValues.empty());  // the seam came through vmapPDV
  // The visible layer's surfaces as the converter names them, then the
  // collision's, named after the game's surface types.
  ASSERT_GT(load.object.surfaces.size(), converted.surfaces.size());
  EXPECT_EQ(load.object.surfaces.back().name, "TARMAC");
  for (std::size_t s = 0; s < converted.surfaces.size(); ++s) {
    EXPECT_EQ(load.object.surfaces[s].name, converted.surfaces[s].name);
    EXPECT_EQ(load.object.surfaces[s].color, converted.surfaces[s].color);
    EXPECT_EQ(load.object.surfaces[s].transparency, converted.surfaces[s].transparency);
    EXPECT_EQ(load.object.surfaces[s].vertexColorMap, "day");
  }
  // The map command takes collision from visible layers.
  EXPECT_EQ(load.object.layers[1].name, "col");
  EXPECT_EQ(load.object.layers[2].name, "shadow");
  EXPECT_EQ(load.object.layers[1].flags, 0);
  EXPECT_EQ(load.object.layers[1].mesh.polygons[0].surface, "TARMAC");
}

TEST_F(ObjectLoader, AVehiclesCollisionLayersAreHiddenAndSurfacesKeepTheirTextureNames) {
  host::WriteLwo2File(House(), (dir_ / "house.lwo").string());
  Lwhost("--map house.lwo -o house.dff");  // and house.col beside it, with a collision mesh
  Lwhost("buggy/buggy.lws -o buggy.dff --col house.col");
  const host::ObjectLoad load = Load("buggy.dff");
  ASSERT_EQ(load.result, LWOBJIM_OK) << load.failure;
  const auto col = std::find_if(load.object.layers.begin(), load.object.layers.end(),
                                [](const host::Lwo2Layer& layer) { return layer.name == "col"; });
  ASSERT_NE(col, load.object.layers.end());
  EXPECT_EQ(col->flags & 1, 1);  // the first command would export it as geometry
  const auto paint = std::find_if(load.object.surfaces.begin(), load.object.surfaces.end(),
                                  [](const host::Lwo2Surface& surface) { return surface.name == "paint"; });
  EXPECT_NE(paint, load.object.surfaces.end());
  ASSERT_FALSE(host_.messages().empty());  // that its images stay out is said
  EXPECT_NE(host_.messages().back().line2->find("no images"), std::string::npos);
}

TEST_F(ObjectLoader, OtherFilesAreLeftToOtherLoadersAndDamagedOnesRefusedWithDffinfosFindings) {
  host::WriteLwo2File(House(), (dir_ / "house.lwo").string());
  EXPECT_EQ(Load("house.lwo").result, LWOBJIM_NOREC);
  Lwhost("buggy/buggy.lws -o buggy.dff --no-col --txd buggy.txd");
  EXPECT_EQ(Load("buggy.txd").result, LWOBJIM_NOREC);
  std::vector<std::uint8_t> bytes = testsupport::ReadFileBytes(dir_ / "buggy.dff");
  bytes.resize(bytes.size() - 40);
  testsupport::WriteFileBytes(dir_ / "cut.dff", bytes);

  const host::ObjectLoad load = Load("cut.dff");
  EXPECT_EQ(load.result, LWOBJIM_BADFILE);
  EXPECT_TRUE(load.doneCalled);
  EXPECT_TRUE(load.object.layers.empty());
  const testsupport::ProgramResult dffinfo = Run(DFFINFO_PATH, "--quiet cut.dff");
  ASSERT_EQ(dffinfo.status, 1);
  const std::string finding = dffinfo.err.substr(0, dffinfo.err.find('\n'));
  EXPECT_NE(load.failure.find(finding.substr(finding.find(' ') + 1)), std::string::npos)
      << finding << "\nnot in: " << load.failure;
  EXPECT_EQ(load.failure.find('\n'), std::string::npos);  // one line

  host::ObjectLoadOptions small;
  small.failedLength = 12;
  EXPECT_EQ(Load("cut.dff", small).failure, load.failure.substr(0, 11));
}

TEST_F(ObjectLoader, AVersion3HostGetsTheFiveArgumentSurfaceCallAndLaterOnesTheSixth) {
  Lwhost("buggy/buggy.lws -o buggy.dff --no-col");
  host::ObjectLoadOptions v3;
  v3.version = 3;
  const host::ObjectLoad old = Load("buggy.dff", v3);
  ASSERT_EQ(old.result, LWOBJIM_OK) << old.failure;
  EXPECT_FALSE(old.object.surfaces.empty());
  EXPECT_TRUE(old.surfaceVersions.empty());
  const host::ObjectLoad current = Load("buggy.dff");
  EXPECT_EQ(current.surfaceVersions, std::vector<unsigned int>(current.object.surfaces.size(), 0u));
  EXPECT_EQ(current.object.surfaces.size(), old.object.surfaces.size());
  host::ObjectLoadOptions future;
  future.version = 6;
  EXPECT_THROW(Load("buggy.dff", future), host::ModuleError);  // AFUNC_BADVERSION: Layout tries lower ones
}

// A monitor that stops the load at its second step.
struct StoppingMonitor {
  unsigned int total = 0;
  int steps = 0;
  bool done = false;
};

TEST_F(ObjectLoader, AStopThroughTheMonitorEndsTheLoadAsAborted) {
  importtest::WriteChainScene(dir_, false);
  Lwhost("chain.lws -o chain.dff --no-col");
  StoppingMonitor state;
  LWMonitor monitor{&state, [](void* data, unsigned int total) { static_cast<StoppingMonitor*>(data)->total = total; },
                    [](void* data, unsigned int) { return ++static_cast<StoppingMonitor*>(data)->steps >= 2 ? 1 : 0; },
                    [](void* data) { static_cast<StoppingMonitor*>(data)->done = true; }};
  host::ObjectLoadOptions options;
  options.monitor = &monitor;
  const host::ObjectLoad load = Load("chain.dff", options);
  EXPECT_EQ(load.result, LWOBJIM_ABORTED);
  EXPECT_TRUE(load.doneCalled);
  EXPECT_EQ(state.total, 5u);  // four layers and the surfaces
  EXPECT_EQ(state.steps, 2);
  EXPECT_TRUE(state.done);
}

// A corner of a triangle where the game draws it, with what it carries.
struct Corner {
  std::array<float, 3> position;
  std::array<float, 2> uv;
  std::array<std::uint8_t, 4> day;
  std::array<std::uint8_t, 4> night;
};
using Triangle = std::array<Corner, 3>;

// Every triangle of the model in the world, each starting at its least
// corner (winding kept) and listed in order of rounded positions, so that
// two exports of one model list them alike.
std::vector<Triangle> WorldTriangles(const fs::path& dff) {
  const dffinfo::Inspection inspection = dffinfo::Inspect(testsupport::ReadFileBytes(dff));
  EXPECT_TRUE(inspection.sound()) << dff;
  if (inspection.clumps.empty()) return {};
  const render::ModelScene scene = render::LayOutClump(inspection.clumps[0], render::DecodedTextures{});
  auto key = [](const Corner& c) {
    return std::make_tuple(std::lround(c.position[0] * 1000), std::lround(c.position[1] * 1000),
                           std::lround(c.position[2] * 1000));
  };
  std::vector<Triangle> triangles;
  for (const render::SceneTriangle& t : scene.triangles) {
    Triangle triangle;
    const std::uint32_t corners[3] = {t.a, t.b, t.c};
    for (std::size_t i = 0; i < 3; ++i) {
      const render::SceneVertex& v = scene.vertices[corners[i]];
      triangle[i] = {v.position, v.uv, v.day, v.night};
    }
    const auto least = std::min_element(triangle.begin(), triangle.end(),
                                        [&](const Corner& a, const Corner& b) { return key(a) < key(b); });
    std::rotate(triangle.begin(), least, triangle.end());
    triangles.push_back(triangle);
  }
  std::sort(triangles.begin(), triangles.end(), [&](const Triangle& a, const Triangle& b) {
    return std::make_tuple(key(a[0]), key(a[1]), key(a[2])) < std::make_tuple(key(b[0]), key(b[1]), key(b[2]));
  });
  return triangles;
}

void ExpectSameGeometry(const fs::path& original, const fs::path& again) {
  const std::vector<Triangle> expected = WorldTriangles(original);
  const std::vector<Triangle> actual = WorldTriangles(again);
  ASSERT_EQ(actual.size(), expected.size());
  ASSERT_FALSE(expected.empty());
  for (std::size_t t = 0; t < expected.size(); ++t) {
    for (std::size_t i = 0; i < 3; ++i) {
      const Corner& e = expected[t][i];
      const Corner& a = actual[t][i];
      for (std::size_t c = 0; c < 3; ++c) EXPECT_NEAR(e.position[c], a.position[c], 1e-5) << "triangle " << t;
      for (std::size_t c = 0; c < 2; ++c) EXPECT_NEAR(e.uv[c], a.uv[c], 1e-5) << "triangle " << t;
      EXPECT_EQ(e.day, a.day) << "triangle " << t;
      EXPECT_EQ(e.night, a.night) << "triangle " << t;
    }
  }
}

// lwhost --load-object, then the map command on the object: the model's
// triangles come back where they were, with their UVs and colours.
TEST_F(ObjectLoader, ALoadedObjectExportsBackToTheSameTrianglesUvsAndColours) {
  importtest::WriteChainScene(dir_, false);
  host::WriteLwo2File(House(), (dir_ / "house.lwo").string());
  fs::create_directories(dir_ / "again");
  for (const std::string name : {"chain", "house"}) {
    SCOPED_TRACE(name);
    Lwhost("--map " + name + (name == "chain" ? ".lws" : ".lwo") + " -o " + name + ".dff");
    Lwhost("--load-object " + name + ".dff -o " + name + "_loaded.lwo");
    Lwhost("--map " + name + "_loaded.lwo -o again/" + name + ".dff");
    ExpectSameGeometry(dir_ / (name + ".dff"), dir_ / "again" / (name + ".dff"));
  }
  // A DFF named where an object file is expected loads through the loader
  // too: bare, or as the object of a scene's item.
  Lwhost("--map house.dff -o again/direct.dff");
  ExpectSameGeometry(dir_ / "house.dff", dir_ / "again/direct.dff");
  std::vector<host::LwsWriterItem> items(3);
  for (std::size_t layer = 0; layer < items.size(); ++layer) {
    items[layer].objectPath = "house.dff";
    items[layer].layer = static_cast<int>(layer) + 1;
  }
  const std::string text = host::WriteLws(items);
  testsupport::WriteFileBytes(dir_ / "street.lws", std::vector<std::uint8_t>(text.begin(), text.end()));
  Lwhost("--map street.lws -o again/street.dff");
  ExpectSameGeometry(dir_ / "house.dff", dir_ / "again/street.dff");
}

}  // namespace
