// Mesh snapshots and the scene's vertex maps.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/standin_host.h"
#include "tests/host/host_services.h"
#include "tests/host/sample_scene.h"

namespace host::testing {
namespace {

struct Scan {
  LWMeshInfo* mesh = nullptr;
  std::vector<LWPntID> points;
  std::vector<LWPolID> polygons;
  std::size_t stopAt = 0;  // 1-based element that ends the scan; 0 for none
};

size_t LWCALL CollectPoint(void* data, LWPntID point) {
  auto* scan = static_cast<Scan*>(data);
  scan->points.push_back(point);
  return scan->points.size() == scan->stopAt ? 42 : 0;
}

size_t LWCALL CollectPolygon(void* data, LWPolID polygon) {
  auto* scan = static_cast<Scan*>(data);
  scan->polygons.push_back(polygon);
  return 0;
}

class StandInHostMesh : public ::testing::Test {
 protected:
  StandInHostMesh() : host_(SampleScene()), lw_(host_) {
    scan_.mesh = lw_.objects->meshInfo(lw_.Find(LWI_OBJECT, "Car"), 1);
    scan_.mesh->scanPoints(scan_.mesh, &CollectPoint, &scan_);
    scan_.mesh->scanPolys(scan_.mesh, &CollectPolygon, &scan_);
  }

  std::vector<float> Uv(LWPntID point, LWPolID polygon = nullptr, int* found = nullptr) {
    std::vector<float> value(2, -1.0f);
    const int result = polygon ? mesh()->pntVPGet(mesh(), point, polygon, value.data())
                               : mesh()->pntVGet(mesh(), point, value.data());
    if (found) *found = result;
    return value;
  }
  LWMeshInfo* mesh() { return scan_.mesh; }

  StandInHost host_;
  HostServices lw_;
  Scan scan_;
};

TEST_F(StandInHostMesh, ScansVisitEveryElementOnceInOrder) {
  ASSERT_EQ(scan_.points.size(), 4u);
  ASSERT_EQ(scan_.polygons.size(), 2u);
  EXPECT_EQ(mesh()->numPoints(mesh()), 4);
  EXPECT_EQ(mesh()->numPolygons(mesh()), 2);
  LWFVector position{};
  mesh()->pntBasePos(mesh(), scan_.points[2], position);
  EXPECT_EQ(std::vector<float>(position, position + 3), (std::vector<float>{1, 1, 0}));

  const LWPolID glass = scan_.polygons[1];
  EXPECT_EQ(mesh()->polType(mesh(), glass), LWPOLTYPE_FACE);
  EXPECT_EQ(mesh()->polSize(mesh(), glass), 3);
  EXPECT_EQ(mesh()->polVertex(mesh(), glass, 2), scan_.points[3]);
  EXPECT_STREQ(mesh()->polTag(mesh(), glass, LWPTAG_SURF), "Glass");
  EXPECT_EQ(mesh()->polTag(mesh(), glass, LWID_('P', 'A', 'R', 'T')), nullptr);
  EXPECT_EQ(mesh()->polFlags(mesh(), glass), 0u);
  EXPECT_TRUE(host_.faults().empty());
}

TEST_F(StandInHostMesh, AScanStopsAtTheFirstNonZeroAnswerAndReturnsIt) {
  Scan partial;
  partial.stopAt = 2;
  EXPECT_EQ(mesh()->scanPoints(mesh(), &CollectPoint, &partial), 42u);
  EXPECT_EQ(partial.points, (std::vector<LWPntID>{scan_.points[0], scan_.points[1]}));
  EXPECT_EQ(mesh()->scanPolys(mesh(), &CollectPolygon, &partial), 0u);
}

TEST_F(StandInHostMesh, PerPolygonUvValuesOverrideOnlyForTheirPolygon) {
  void* map = mesh()->pntVLookup(mesh(), LWVMAP_TXUV, "uv_main");
  ASSERT_NE(map, nullptr);
  EXPECT_EQ(mesh()->pntVSelect(mesh(), map), 2);
  const LWPntID shared = scan_.points[2];
  EXPECT_EQ(Uv(shared), (std::vector<float>{1, 1}));
  EXPECT_EQ(Uv(shared, scan_.polygons[0]), (std::vector<float>{1, 1}));
  EXPECT_EQ(Uv(shared, scan_.polygons[1]), (std::vector<float>{0.5f, 0.25f}));

  int found = -1;
  EXPECT_EQ(Uv(scan_.points[3], nullptr, &found), (std::vector<float>{-1, -1}));
  EXPECT_EQ(found, 0);
  Uv(scan_.points[3], scan_.polygons[1], &found);
  EXPECT_EQ(found, 0);

  // The handle variants read the map they are given, not the selection.
  void* extra = mesh()->pntVLookup(mesh(), LWVMAP_TXUV, "uv_extra");
  float value[3] = {};
  EXPECT_EQ(mesh()->pntVIDGet(mesh(), scan_.points[0], value, extra), 1);
  EXPECT_EQ(value[2], 9.0f);
  EXPECT_EQ(mesh()->pntVPIDGet(mesh(), shared, scan_.polygons[1], value, map), 1);
  EXPECT_EQ(value[1], 0.25f);
}

TEST_F(StandInHostMesh, MapsThisMeshLacksAreNotFound) {
  EXPECT_EQ(mesh()->pntVLookup(mesh(), LWVMAP_TXUV, "uv_wheel"), nullptr);
  EXPECT_EQ(mesh()->pntVLookup(mesh(), LWID_('W', 'G', 'H', 'T'), "uv_main"), nullptr);
  EXPECT_EQ(mesh()->pntVSelect(mesh(), nullptr), 0);
  int found = -1;
  Uv(scan_.points[0], nullptr, &found);
  EXPECT_EQ(found, 0);
}

TEST_F(StandInHostMesh, SnapshotsAreCountedUntilDestroyedAndIndependent) {
  LWMeshInfo* other = lw_.objects->meshInfo(lw_.Find(LWI_OBJECT, "Car (2)"), 0);
  EXPECT_EQ(host_.liveMeshSnapshots(), 2);
  EXPECT_NE(other, mesh());

  // A point of one snapshot means nothing to another.
  LWFVector position{};
  other->pntBasePos(other, scan_.points[0], position);
  EXPECT_EQ(host_.faults().size(), 1u);

  // Editing the scene does not change a snapshot already handed out, and
  // the map it selected before the edit keeps its handle and its values.
  void* map = mesh()->pntVLookup(mesh(), LWVMAP_TXUV, "uv_main");
  mesh()->pntVSelect(mesh(), map);
  host_.scene().meshes[0].points.clear();
  host_.scene().meshes[0].uvMaps.clear();
  EXPECT_EQ(mesh()->numPoints(mesh()), 4);
  EXPECT_EQ(Uv(scan_.points[2], scan_.polygons[1]), (std::vector<float>{0.5f, 0.25f}));
  EXPECT_EQ(mesh()->pntVLookup(mesh(), LWVMAP_TXUV, "uv_main"), map);

  // The table lives in the snapshot: keep its functions to call them late.
  const auto destroy = mesh()->destroy;
  const auto numPoints = mesh()->numPoints;
  destroy(other);
  destroy(mesh());
  EXPECT_EQ(host_.liveMeshSnapshots(), 0);
  destroy(mesh());
  EXPECT_EQ(numPoints(mesh()), 0);
  EXPECT_EQ(host_.faults().size(), 3u);
}

TEST_F(StandInHostMesh, SceneVertexMapsAreDistinctNamesInFirstAppearanceOrder) {
  const LWObjectFuncs* objects = lw_.sceneObjects;
  ASSERT_EQ(objects->numVMaps(LWVMAP_TXUV), 3);
  EXPECT_EQ(objects->numVMaps(0), 3);
  EXPECT_EQ(objects->numVMaps(LWID_('W', 'G', 'H', 'T')), 0);
  std::vector<std::string> names;
  for (int i = 0; i < 3; ++i) names.push_back(objects->vmapName(LWVMAP_TXUV, i));
  EXPECT_EQ(names, (std::vector<std::string>{"uv_main", "uv_extra", "uv_wheel"}));
  EXPECT_EQ(objects->vmapDim(LWVMAP_TXUV, 1), 3);
  EXPECT_EQ(objects->vmapType(2), LWVMAP_TXUV);
  EXPECT_EQ(objects->vmapName(LWVMAP_TXUV, 3), nullptr);
  EXPECT_EQ(objects->vmapName(LWVMAP_TXUV, -1), nullptr);
}

// The sample car with an RGB map named like its UV map, an RGBA map with a
// per-polygon value, and its body surface naming the RGBA map.
Scene ColouredScene() {
  Scene scene = SampleScene();
  Mesh& body = scene.meshes[0];
  body.colorMaps = {UvMap{"uv_main", 3, {{1, {1.0f, 0.5f, 0.25f}}}, {}, kVertexMapRgb},
                    UvMap{"paint", 4, {{0, {0.1f, 0.2f, 0.3f, 0.4f}}}, {{{0, 1}, {1, 1, 1, 0}}}, kVertexMapRgba}};
  scene.objectFiles[0].surfaces[0].colorVMap = "paint";
  return scene;
}

TEST(StandInHostColours, ColourMapsAreServedByTypeAndTheSurfaceNamesItsMap) {
  StandInHost host(ColouredScene());
  HostServices lw(host);
  LWMeshInfo* mesh = lw.objects->meshInfo(lw.Find(LWI_OBJECT, "Car"), 1);
  Scan scan;
  mesh->scanPoints(mesh, &CollectPoint, &scan);
  mesh->scanPolys(mesh, &CollectPolygon, &scan);

  void* rgb = mesh->pntVLookup(mesh, LWVMAP_RGB, "uv_main");
  void* uv = mesh->pntVLookup(mesh, LWVMAP_TXUV, "uv_main");
  ASSERT_NE(rgb, nullptr);
  EXPECT_NE(rgb, uv) << "a colour map and a UV map of one name are two maps";
  EXPECT_EQ(mesh->pntVLookup(mesh, LWVMAP_RGBA, "uv_main"), nullptr);
  EXPECT_EQ(mesh->pntVSelect(mesh, rgb), 3);
  float value[4] = {};
  EXPECT_EQ(mesh->pntVGet(mesh, scan.points[1], value), 1);
  EXPECT_EQ(std::vector<float>(value, value + 3), (std::vector<float>{1.0f, 0.5f, 0.25f}));

  void* paint = mesh->pntVLookup(mesh, LWVMAP_RGBA, "paint");
  ASSERT_NE(paint, nullptr);
  EXPECT_EQ(mesh->pntVSelect(mesh, paint), 4);
  EXPECT_EQ(mesh->pntVPGet(mesh, scan.points[0], scan.polygons[1], value), 1);
  EXPECT_EQ(std::vector<float>(value, value + 4), (std::vector<float>{1, 1, 1, 0}));
  EXPECT_EQ(mesh->pntVPIDGet(mesh, scan.points[0], scan.polygons[0], value, paint), 1);
  EXPECT_EQ(value[3], 0.4f) << "the point's own value outside the polygon";

  const LWObjectFuncs* objects = lw.sceneObjects;
  EXPECT_EQ(objects->numVMaps(LWVMAP_TXUV), 3) << "colour maps are not UV maps";
  EXPECT_EQ(objects->numVMaps(LWVMAP_RGB), 1);
  ASSERT_EQ(objects->numVMaps(LWVMAP_RGBA), 1);
  EXPECT_STREQ(objects->vmapName(LWVMAP_RGBA, 0), "paint");
  EXPECT_EQ(objects->vmapDim(LWVMAP_RGBA, 0), 4);
  ASSERT_EQ(objects->numVMaps(0), 5);
  std::vector<LWID> types;
  for (int i = 0; i < 5; ++i) types.push_back(objects->vmapType(i));
  EXPECT_EQ(types, (std::vector<LWID>{LWVMAP_TXUV, LWVMAP_TXUV, LWVMAP_RGB, LWVMAP_RGBA, LWVMAP_TXUV}));

  const LWSurfaceID* surfaces = lw.surfaces->byObject("C:\\objects\\car.lwo");
  ASSERT_NE(surfaces, nullptr);
  EXPECT_STREQ(lw.surfaces->getColorVMap(surfaces[0]), "paint");
  EXPECT_EQ(lw.surfaces->getColorVMap(surfaces[1]), nullptr);
  mesh->destroy(mesh);
  EXPECT_TRUE(host.faults().empty());
}

}  // namespace
}  // namespace host::testing

namespace host::testing {
namespace {

TEST(StandInHostLayers, SceneObjectsListsTheObjectFilesAndNamesTheirLayers) {
  StandInHost host(SampleScene());
  HostServices lw(host);
  const LWObjectFuncs* objects = lw.sceneObjects;
  ASSERT_EQ(objects->numObjects(), 2);
  EXPECT_STREQ(objects->filename(1), "C:\\objects\\wheel.lwo");
  EXPECT_EQ(objects->maxLayers(0), 3) << "layers 0 and 2: numbers may have gaps";
  EXPECT_EQ(objects->layerExists(0, 1), 0);
  EXPECT_EQ(objects->layerExists(0, 2), 1);
  EXPECT_STREQ(objects->layerName(0, 0), "body");
  EXPECT_EQ(objects->layerName(0, 2), nullptr) << "an unnamed layer has no name";
  EXPECT_EQ(objects->layerName(2, 0), nullptr);
  EXPECT_EQ(objects->filename(-1), nullptr);
  EXPECT_TRUE(host.faults().empty());
}

}  // namespace
}  // namespace host::testing
