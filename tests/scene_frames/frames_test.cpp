#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <string>
#include <vector>

#include "scene/frame_name.h"
#include "tests/scene_frames/host_exporter.h"

namespace scene {
namespace {

using testing::AddNonObject;
using testing::AddNullObject;
using testing::AddTriangleObject;
using testing::HostExporter;

constexpr double kHalfPi = 1.5707963267948966;
constexpr float kTolerance = 1e-5f;

std::vector<std::string> NamesOf(const std::vector<FrameNode*>& frames) {
  std::vector<std::string> names;
  for (const FrameNode* frame : frames) names.push_back(frame->name);
  return names;
}

std::vector<int> ParentIndicesOf(const std::vector<FrameNode*>& frames) {
  std::vector<int> parents;
  for (const FrameNode* frame : frames) parents.push_back(frame->parent ? frame->parent->index : -1);
  return parents;
}

void ExpectUpper3x3(const platform::Matrix4& m, std::array<std::array<float, 3>, 3> rows) {
  for (std::size_t r = 0; r < 3; ++r) {
    for (std::size_t c = 0; c < 3; ++c) {
      EXPECT_NEAR(m.m[r][c], rows[r][c], kTolerance) << "row " << r << " column " << c;
    }
  }
}

void ExpectTranslation(const platform::Matrix4& m, float x, float y, float z) {
  ExpectUpper3x3(m, {{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}});
  EXPECT_NEAR(m.m[3][0], x, kTolerance);
  EXPECT_NEAR(m.m[3][1], y, kTolerance);
  EXPECT_NEAR(m.m[3][2], z, kTolerance);
  EXPECT_EQ(m.m[3][3], 1.0f);
}

// One object item at the origin with the given parameters at time 0, the
// rest at rest; the exporter built over it.
struct OneItem {
  explicit OneItem(std::map<int, host::Vec3> params) : built(SceneWith(std::move(params))) {
    built.exporter.BuildFrames();
  }
  static host::Scene SceneWith(std::map<int, host::Vec3> params) {
    host::Scene scene;
    AddNullObject(scene, "item");
    scene.items[0].atTimeZero.params = std::move(params);
    return scene;
  }
  const FrameNode& frame() const { return *built.exporter.frames.at(0); }
  HostExporter built;
};

TEST(FrameName, DropsTheObjectBaseNameAndOneSeparatorFromTheItemName) {
  EXPECT_EQ(MakeFrameName("C:\\models\\car.lwo", "car:body"), "body");
  EXPECT_EQ(MakeFrameName("/objects/my.car.lwo", "my.car:door_lf"), "door_lf");
  EXPECT_EQ(MakeFrameName("C:\\models\\car.lwo", "car"), "");
  // The dropped characters are not compared with the base name.
  EXPECT_EQ(MakeFrameName("C:\\models\\car.lwo", "bus_wheel"), "wheel");
  EXPECT_EQ(MakeFrameName(nullptr, "xbody"), "body");
  EXPECT_EQ(MakeFrameName("car.lwo", nullptr), "");
}

// A name too short to hold the base name cannot be cut by it: it is kept.
TEST(FrameName, AnItemNameShorterThanTheBaseNameIsKeptWhole) {
  EXPECT_EQ(MakeFrameName("C:\\models\\limousine.lwo", "lim"), "lim");
  EXPECT_EQ(MakeFrameName("C:\\models\\car.lwo", ""), "");
}

// Roots A and B; A has the children A1 and A2, B has B1, A1 has A11.
// Each group of siblings stands together, and the descendants of the later
// sibling come first.  Geometry objects and null objects link alike.
TEST(Frames, SiblingGroupsStandTogetherAndLaterSiblingsDescendantsComeFirst) {
  host::Scene scene;
  const int a = AddNullObject(scene, "A");
  const int b = AddTriangleObject(scene, "b:B", "C:\\objects\\b.lwo");
  const int a1 = AddNullObject(scene, "A1", a);
  AddTriangleObject(scene, "a:A2", "a.lwo", a);
  AddNullObject(scene, "B1", b);
  AddTriangleObject(scene, "x:A11", "x.lwo", a1);
  HostExporter built(scene);
  DffExporter& exporter = built.exporter;
  exporter.BuildFrames();

  EXPECT_EQ(NamesOf(exporter.orderedFrames),
            (std::vector<std::string>{"A", "B", "B1", "A1", "A2", "A11"}));
  EXPECT_EQ(ParentIndicesOf(exporter.orderedFrames), (std::vector<int>{-1, -1, 1, 0, 0, 3}));
  for (std::size_t i = 0; i < exporter.orderedFrames.size(); ++i) {
    EXPECT_EQ(exporter.orderedFrames[i]->index, static_cast<int>(i));
  }
  ASSERT_EQ(exporter.frames.size(), 6u);
  EXPECT_EQ(NamesOf(exporter.rootFrames), (std::vector<std::string>{"A", "B"}));

  // The mesh objects follow item order and point at their own frames.
  ASSERT_EQ(exporter.meshObjects.size(), 3u);
  const std::vector<std::string> meshFrames{"B", "A2", "A11"};
  for (std::size_t i = 0; i < 3; ++i) {
    const MeshObject& mesh = *exporter.meshObjects[i];
    EXPECT_EQ(mesh.meshIndex, static_cast<int>(i));
    EXPECT_EQ(mesh.frame->name, meshFrames[i]);
    EXPECT_EQ(mesh.frame->itemId, mesh.itemId);
  }
  EXPECT_STREQ(exporter.meshObjects[0]->objectFileName, "C:\\objects\\b.lwo");
}

// Items parented to a light, a camera or a bone have no frame to hang
// under; neither do items without a parent.  Only objects get frames.
TEST(Frames, ObjectsUnderLightsCamerasAndBonesAreRoots) {
  host::Scene scene;
  const int light = AddNonObject(scene, host::ItemType::kLight, "Light");
  AddNullObject(scene, "under light", light);
  const int camera = AddNonObject(scene, host::ItemType::kCamera, "Camera");
  AddTriangleObject(scene, "cam:camera", "C:\\cam.lwo", camera);
  const int owner = AddNullObject(scene, "owner");
  const int bone = AddNonObject(scene, host::ItemType::kBone, "Bone");
  scene.items[static_cast<std::size_t>(bone)].parent = owner;
  AddNullObject(scene, "under bone", bone);
  HostExporter built(scene);
  built.exporter.BuildFrames();

  EXPECT_EQ(NamesOf(built.exporter.orderedFrames),
            (std::vector<std::string>{"under light", "camera", "owner", "under bone"}));
  EXPECT_EQ(ParentIndicesOf(built.exporter.orderedFrames), (std::vector<int>{-1, -1, -1, -1}));
}

TEST(Frames, ASceneOfNullObjectsHasFramesButNoMeshObjects) {
  host::Scene scene;
  const int root = AddNullObject(scene, "car:root");
  AddNullObject(scene, "car:dummy", root);
  HostExporter built(scene);
  built.exporter.BuildFrames();
  EXPECT_TRUE(built.exporter.meshObjects.empty());
  // Items without polygons keep their whole name.
  EXPECT_EQ(NamesOf(built.exporter.orderedFrames),
            (std::vector<std::string>{"car:root", "car:dummy"}));
}

TEST(Frames, AnItemAtRestHasIdentityMatricesAndNoOffset) {
  OneItem item({});
  ExpectTranslation(*item.frame().rotationMatrix, 0, 0, 0);
  ExpectTranslation(*item.frame().worldMatrix, 0, 0, 0);
  ExpectTranslation(*item.frame().vertexMatrix, 0, 0, 0);
  EXPECT_EQ(item.frame().position.x, 0.0f);
  EXPECT_EQ(item.frame().position.y, 0.0f);
  EXPECT_EQ(item.frame().position.z, 0.0f);
}

// Layout's y is up, the file's z: headings turn about the file's z axis,
// and every vector (x, y, z) becomes (-x, -z, y).
TEST(Frames, RotationsAndScalingAreTakenIntoTheFileAxes) {
  ExpectUpper3x3(*OneItem({{LWIP_ROTATION, {kHalfPi, 0, 0}}}).frame().rotationMatrix,
                 {{{0, 0, 1}, {0, 1, 0}, {-1, 0, 0}}});
  ExpectUpper3x3(*OneItem({{LWIP_ROTATION, {0, kHalfPi, 0}}}).frame().rotationMatrix,
                 {{{0, 1, 0}, {-1, 0, 0}, {0, 0, 1}}});
  ExpectUpper3x3(*OneItem({{LWIP_ROTATION, {0, 0, kHalfPi}}}).frame().rotationMatrix,
                 {{{1, 0, 0}, {0, 0, 1}, {0, -1, 0}}});
  ExpectUpper3x3(*OneItem({{LWIP_SCALING, {2, 3, 4}}}).frame().rotationMatrix,
                 {{{2, 0, 0}, {0, 4, 0}, {0, 0, 3}}});

  const OneItem moved({{LWIP_POSITION, {1, 2, 3}}, {LWIP_W_POSITION, {0, 0, 1}},
                       {LWIP_SCALING, {2, 3, 4}}});
  EXPECT_EQ(moved.frame().position.x, -1.0f);
  EXPECT_EQ(moved.frame().position.y, -3.0f);
  EXPECT_EQ(moved.frame().position.z, 2.0f);
  // The world translation (0, -1, 0) is scaled along with the rest.
  EXPECT_NEAR(moved.frame().worldMatrix->m[3][1], -4.0f, kTolerance);
}

TEST(Frames, APivotMovesOnlyTheVertexMatrixOfARoot) {
  const OneItem pivoted({{LWIP_PIVOT, {1, 2, 3}}});
  ExpectTranslation(*pivoted.frame().rotationMatrix, 0, 0, 0);
  ExpectTranslation(*pivoted.frame().worldMatrix, 0, 0, 0);
  ExpectTranslation(*pivoted.frame().vertexMatrix, 1, 3, -2);
}

// A child's vertex matrix takes it from its own world transform into its
// parent's.
TEST(Frames, AChildsVertexMatrixIsRelativeToItsParent) {
  host::Scene scene;
  const int parent = AddNullObject(scene, "parent");
  scene.items[0].atTimeZero.params[LWIP_W_POSITION] = {0, 0, 1};
  AddTriangleObject(scene, "child", "c.lwo", parent);
  scene.items[1].atTimeZero.params[LWIP_W_POSITION] = {0, 0, 3};
  HostExporter built(scene);
  built.exporter.BuildFrames();
  ExpectTranslation(*built.exporter.frames[1]->vertexMatrix, 0, -2, 0);
  // The parent's stays the one of a root.
  ExpectTranslation(*built.exporter.frames[0]->vertexMatrix, 0, 0, 0);
}

// An item scaled to nothing on an axis has no inverse world matrix; the
// child's vertex matrix must still be finite.
TEST(Frames, AFlattenedChildGetsAFiniteVertexMatrix) {
  host::Scene scene;
  const int parent = AddNullObject(scene, "parent");
  scene.items[0].atTimeZero.params[LWIP_W_POSITION] = {0, 0, 1};
  AddTriangleObject(scene, "flat", "f.lwo", parent);
  scene.items[1].atTimeZero.params[LWIP_SCALING] = {1, 0, 1};
  HostExporter built(scene);
  built.exporter.BuildFrames();
  const platform::Matrix4& vertex = *built.exporter.frames[1]->vertexMatrix;
  for (const auto& row : vertex.m) {
    for (const float value : row) EXPECT_TRUE(std::isfinite(value));
  }
  ExpectTranslation(vertex, 0, 1, 0);
}

TEST(Frames, MotionIsSampledAtTimeZeroWhateverTheCurrentTime) {
  host::Scene scene;
  AddNullObject(scene, "moving");
  scene.currentTime = 2.5;
  scene.items[0].atTimeZero.params[LWIP_POSITION] = {1, 2, 3};
  host::Motion later;
  later.params[LWIP_POSITION] = {9, 9, 9};
  later.params[LWIP_ROTATION] = {1, 1, 1};
  scene.items[0].atCurrentTime = later;
  HostExporter built(scene);
  built.exporter.BuildFrames();
  const FrameNode& frame = *built.exporter.frames[0];
  EXPECT_EQ(frame.position.x, -1.0f);
  EXPECT_EQ(frame.position.y, -3.0f);
  EXPECT_EQ(frame.position.z, 2.0f);
  ExpectTranslation(*frame.rotationMatrix, 0, 0, 0);
}

// A chain of thousands of parents is ordered without deep recursion.
TEST(Frames, AVeryDeepParentChainIsOrderedRootFirst) {
  constexpr int kDepth = 20000;
  host::Scene scene;
  for (int i = 0; i < kDepth; ++i) AddNullObject(scene, std::to_string(i), i - 1);
  HostExporter built(scene);
  built.exporter.BuildFrames();
  ASSERT_EQ(built.exporter.orderedFrames.size(), static_cast<std::size_t>(kDepth));
  EXPECT_EQ(built.exporter.orderedFrames.back()->name, std::to_string(kDepth - 1));
  EXPECT_EQ(built.exporter.orderedFrames.back()->parent->index, kDepth - 2);
}

// Layout does not make parent loops, but a damaged scene can: every frame
// must still be listed once, after its parent.
TEST(Frames, AParentLoopIsCutSoThatEveryFrameIsListedOnce) {
  host::Scene scene;
  AddNullObject(scene, "A", 1);
  AddNullObject(scene, "B", 0);
  AddNullObject(scene, "C", 0);
  AddNullObject(scene, "self", 3);
  AddNullObject(scene, "D");
  HostExporter built(scene);
  DffExporter& exporter = built.exporter;
  exporter.BuildFrames();

  ASSERT_EQ(exporter.orderedFrames.size(), 5u);
  EXPECT_EQ(NamesOf(exporter.orderedFrames),
            (std::vector<std::string>{"D", "A", "B", "C", "self"}));
  for (std::size_t i = 0; i < exporter.orderedFrames.size(); ++i) {
    const FrameNode* frame = exporter.orderedFrames[i];
    EXPECT_EQ(frame->index, static_cast<int>(i));
    if (frame->parent != nullptr) {
      EXPECT_LT(frame->parent->index, frame->index);
    }
  }
}

TEST(Frames, ReleaseAllLeavesNoFrameOrListBehind) {
  host::Scene scene;
  const int root = AddTriangleObject(scene, "r", "r.lwo");
  AddNullObject(scene, "n", root);
  HostExporter built(scene);
  built.exporter.BuildFrames();
  built.exporter.ReleaseAll();
  EXPECT_TRUE(built.exporter.frames.empty());
  EXPECT_TRUE(built.exporter.meshObjects.empty());
  EXPECT_TRUE(built.exporter.rootFrames.empty());
  EXPECT_TRUE(built.exporter.orderedFrames.empty());
}

}  // namespace
}  // namespace scene
