#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "scene/frame_name.h"
#include "tests/scene_frames/host_exporter.h"

namespace scene {
namespace {

using testing::AddItem;
using testing::HostExporter;
using Rows = std::array<std::array<float, 4>, 4>;

const Rows kIdentity{{{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}}};

void ExpectMatrix(const platform::Matrix4& m, Rows rows) {
  rows[3][3] = 1.0f;
  for (std::size_t r = 0; r < 4; ++r) {
    for (std::size_t c = 0; c < 4; ++c) EXPECT_NEAR(m.m[r][c], rows[r][c], 1e-5f) << r << c;
  }
}

// Names in FrameList order and parent indices, checking on the way that
// indices are positions and every parent comes before its child.
std::pair<std::vector<std::string>, std::vector<int>> Listing(const DffExporter& exporter) {
  std::pair<std::vector<std::string>, std::vector<int>> listing;
  EXPECT_EQ(exporter.orderedFrames.size(), exporter.frames.size());
  for (const FrameNode* frame : exporter.orderedFrames) {
    EXPECT_EQ(frame->index, static_cast<int>(listing.first.size()));
    listing.first.push_back(frame->name);
    listing.second.push_back(frame->parent != nullptr ? frame->parent->index : -1);
    EXPECT_LT(listing.second.back(), frame->index);
  }
  return listing;
}

// The item of one layer of a multi-layer object is "object:layer" and takes
// the layer's part; any other item keeps its name as it stands.
TEST(FrameName, ALayerItemTakesItsLayersPartAnyOtherItemItsWholeName) {
  EXPECT_EQ(MakeFrameName("C:\\models\\car.lwo", "car:body"), "body");
  EXPECT_EQ(MakeFrameName("/objects/my.car.lwo", "my.car:door_lf"), "door_lf");
  EXPECT_EQ(MakeFrameName("C:\\models\\car.lwo", "car:body (2)"), "body (2)");
  EXPECT_EQ(MakeFrameName("C:\\models\\car.lwo", "car"), "car");
  EXPECT_EQ(MakeFrameName("parts/door_lf_ok.lwo", "door_lf_ok"), "door_lf_ok");
  EXPECT_EQ(MakeFrameName("box.lwo", "box (2)"), "box (2)");
  EXPECT_EQ(MakeFrameName("C:\\models\\car.lwo", "bus_wheel"), "bus_wheel");
  EXPECT_EQ(MakeFrameName(nullptr, "xbody"), "xbody");
  EXPECT_EQ(MakeFrameName("C:\\models\\limousine.lwo", "lim"), "lim");
}

// Four-byte characters and text that is not UTF-8 after all: the cut moves
// back at most to the start of one character.
TEST(FrameName, AUtf8CutStopsAtTheStartOfACharacter) {
  using platform::TextEncoding;
  const std::string clef = "\xF0\x9D\x84\x9E";  // U+1D11E, four bytes
  EXPECT_EQ(FitFrameName(std::string(21, 'a') + clef, TextEncoding::kUtf8), std::string(21, 'a'));
  EXPECT_EQ(FitFrameName(std::string(19, 'a') + clef + "b", TextEncoding::kUtf8),
            std::string(19, 'a') + clef);
  const std::string continuations(30, '\x80');
  EXPECT_EQ(FitFrameName(continuations, TextEncoding::kUtf8).size(), 20u);
  EXPECT_EQ(FitFrameName(continuations, TextEncoding::kNative).size(), 23u);
}

// Roots A, B and objects under a light and a camera; A has A1 and A2, B
// has B1, A1 has A11.  Sibling groups stand together, and the descendants
// of later siblings come first.
TEST(Frames, AreOrderedBySiblingGroupsWithLaterSiblingsDescendantsFirst) {
  host::Scene scene;
  const int a = AddItem(scene, "A");
  const int b = AddItem(scene, "b:B", -1, "C:\\objects\\b.lwo");
  const int a1 = AddItem(scene, "A1", a);
  AddItem(scene, "a:A2", a, "a.lwo");
  AddItem(scene, "B1", b);
  AddItem(scene, "x:A11", a1, "x.lwo");
  AddItem(scene, "lamp:L", AddItem(scene, "Sun", -1, "", host::ItemType::kLight), "lamp.lwo");
  // A null keeps its whole name.
  AddItem(scene, "car:C", AddItem(scene, "Camera", -1, "", host::ItemType::kCamera));
  HostExporter built(scene);
  built.exporter.BuildFrames();

  const auto [names, parents] = Listing(built.exporter);
  EXPECT_EQ(names, (std::vector<std::string>{"A", "B", "L", "car:C", "B1", "A1", "A2", "A11"}));
  EXPECT_EQ(parents, (std::vector<int>{-1, -1, -1, -1, 1, 0, 0, 5}));
  std::vector<std::string> meshFrames;  // in item order, each on its own item's frame
  for (const auto& mesh : built.exporter.meshObjects) meshFrames.push_back(mesh->frame->name);
  EXPECT_EQ(meshFrames, (std::vector<std::string>{"B", "A2", "A11", "L"}));
  EXPECT_EQ(built.exporter.meshObjects[3]->meshIndex, 3);
}

// The frame of one item with this motion at time 0.  At the scene's
// current time it stands elsewhere, which must not show.
FrameNode FrameOf(std::map<int, host::Vec3> params) {
  host::Scene scene;
  AddItem(scene, "item");
  scene.currentTime = 2.5;
  scene.items[0].atTimeZero.params = std::move(params);
  scene.items[0].atCurrentTime =
      host::Motion{{{LWIP_POSITION, {9, 9, 9}}, {LWIP_ROTATION, {1, 1, 1}}}};
  HostExporter built(scene);
  built.exporter.BuildFrames();
  return std::move(*built.exporter.frames.at(0));
}

// Layout's (x, y, z) is the file's (-x, -z, y); headings turn about the
// file's z, Layout's vertical.  A frame is the item's scaling, then its
// pivot rotation, then its rotation; its vertices are moved by minus the
// pivot.
TEST(Frames, TakeTheItemsMotionAtTimeZeroIntoTheFileAxes) {
  constexpr double kHalfPi = 1.5707963267948966;
  const FrameNode rest = FrameOf({});
  ExpectMatrix(*rest.rotationMatrix, kIdentity);
  ExpectMatrix(*rest.worldMatrix, kIdentity);
  ExpectMatrix(*rest.vertexMatrix, kIdentity);
  const std::pair<host::Vec3, Rows> turns[] = {
      {{kHalfPi, 0, 0}, {{{0, -1, 0}, {1, 0, 0}, {0, 0, 1}}}},
      {{0, kHalfPi, 0}, {{{1, 0, 0}, {0, 0, 1}, {0, -1, 0}}}},
      {{0, 0, kHalfPi}, {{{0, 0, -1}, {0, 1, 0}, {1, 0, 0}}}}};
  for (const auto& [headingPitchBank, rows] : turns) {
    ExpectMatrix(*FrameOf({{LWIP_ROTATION, headingPitchBank}}).rotationMatrix, rows);
    // With its rotation at zero, an item appears turned by its pivot rotation.
    ExpectMatrix(*FrameOf({{LWIP_PIVOT_ROT, headingPitchBank}}).rotationMatrix, rows);
  }
  const FrameNode pivoted = FrameOf({{LWIP_PIVOT, {1, 2, 3}}});
  ExpectMatrix(*pivoted.rotationMatrix, kIdentity);
  ExpectMatrix(*pivoted.vertexMatrix, {{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}, {1, 3, -2}}});
  // Scaling (sx, sy, sz) is (sx, sz, sy).
  const FrameNode moved = FrameOf({{LWIP_POSITION, {1, 2, 3}}, {LWIP_SCALING, {2, 3, 4}}});
  ExpectMatrix(*moved.rotationMatrix, {{{2, 0, 0}, {0, 4, 0}, {0, 0, 3}}});
  ExpectMatrix(*moved.worldMatrix, {{{2, 0, 0}, {0, 4, 0}, {0, 0, 3}, {-1, -3, 2}}});
  EXPECT_EQ(std::vector<float>({moved.position.x, moved.position.y, moved.position.z}),
            std::vector<float>({-1, -3, 2}));
}

// A child's position is a point of its parent's object space, and its
// frame stands in the parent's frame, whose origin is the parent's pivot.
// A light between them passes its own transform on; a child scaled flat
// still gets finite matrices.
TEST(Frames, AChildStandsInItsParentsFrameThroughItemsWithoutFrames) {
  constexpr double kHalfPi = 1.5707963267948966;
  host::Scene scene;
  const int parent = AddItem(scene, "parent");
  const int light = AddItem(scene, "Lamp", parent, "", host::ItemType::kLight);
  AddItem(scene, "c:child", parent, "c.lwo");
  AddItem(scene, "l:lit", light, "l.lwo");
  AddItem(scene, "f:flat", parent, "f.lwo");
  scene.items[0].atTimeZero.params = {{LWIP_POSITION, {0, 0, 1}}, {LWIP_PIVOT, {0, 1, 0}}};
  scene.items[1].atTimeZero.params = {{LWIP_POSITION, {5, 1, 0}}, {LWIP_ROTATION, {kHalfPi, 0, 0}}};
  scene.items[2].atTimeZero.params = {{LWIP_POSITION, {0, 0, 2}}, {LWIP_PIVOT, {1, 0, 0}}};
  scene.items[3].atTimeZero.params = {{LWIP_POSITION, {0, 0, 1}}};
  scene.items[4].atTimeZero.params = {{LWIP_SCALING, {1, 0, 1}}};
  HostExporter built(scene);
  built.exporter.BuildFrames();
  const auto& frames = built.exporter.frames;
  const auto position = [](const FrameNode& f) { return std::vector<float>{f.position.x, f.position.y, f.position.z}; };

  EXPECT_EQ(frames[1]->parent, frames[0].get());
  EXPECT_EQ(position(*frames[1]), (std::vector<float>{0, -2, -1}));  // (0, -1, 2) in Layout's axes
  ExpectMatrix(*frames[1]->vertexMatrix, {{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}, {1, 0, 0}}});
  // The lit item hangs under the parent's frame, turned and moved by the
  // light: (0, 0, 1) turned a quarter by heading is (1, 0, 0), plus the
  // light's (5, 1, 0), less the parent's pivot.
  EXPECT_EQ(frames[2]->parent, frames[0].get());
  const std::vector<float> lit = position(*frames[2]);
  const std::vector<float> litExpected{-6, 0, 0};
  for (std::size_t k = 0; k < 3; ++k) EXPECT_NEAR(lit[k], litExpected[k], 1e-6f);
  ExpectMatrix(*frames[2]->rotationMatrix, {{{0, -1, 0}, {1, 0, 0}, {0, 0, 1}}});
  for (const auto& row : frames[3]->rotationMatrix->m) {
    for (float value : row) EXPECT_TRUE(std::isfinite(value));
  }
}

// No recursion: no chain of parents can overflow the stack.
TEST(Frames, AParentChainOfTwentyThousandItemsIsOrderedRootFirst) {
  host::Scene scene;
  for (int i = 0; i < 20000; ++i) AddItem(scene, std::to_string(i), i - 1);
  HostExporter built(scene);
  built.exporter.BuildFrames();
  EXPECT_EQ(Listing(built.exporter).first.back(), "19999");
}

// Layout never makes parent loops, but a damaged scene can: every frame
// must still be listed exactly once, after its parent.
TEST(Frames, AParentLoopIsCutAtItsFirstItem) {
  host::Scene scene;
  AddItem(scene, "A", 1);
  AddItem(scene, "B", 0);
  AddItem(scene, "C", 0);
  AddItem(scene, "self", 3);
  AddItem(scene, "D");
  HostExporter built(scene);
  built.exporter.BuildFrames();
  const auto [names, parents] = Listing(built.exporter);
  EXPECT_EQ(names, (std::vector<std::string>{"D", "A", "B", "C", "self"}));
  EXPECT_EQ(parents, (std::vector<int>{-1, -1, 1, 1, -1}));
}

}  // namespace
}  // namespace scene
