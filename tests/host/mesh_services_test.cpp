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

}  // namespace
}  // namespace host::testing
