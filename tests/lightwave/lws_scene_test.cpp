#include <cmath>
#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "host/lightwave_files.h"
#include "lightwave/lwo2_writer.h"
#include "lightwave/lws_writer.h"
#include "lwsdk/item_info.h"
#include "sample_files.h"

namespace host {
namespace {

using lwfiles_test::ScratchFolder;

constexpr double kPi = 3.14159265358979323846;

LwsWriterItem Object(const std::string& path, int layer, int parent = -1) {
  LwsWriterItem item;
  item.objectPath = path;
  item.layer = layer;
  item.parent = parent;
  return item;
}

LwsWriterItem Named(LwsItemKind kind, const std::string& name, int parent = -1) {
  LwsWriterItem item;
  item.kind = kind;
  item.name = name;
  item.parent = parent;
  return item;
}

std::string LoadError(const std::string& path, const LoadOptions& options = {}) {
  try {
    LoadSceneFile(path, options);
  } catch (const host::LoadError& error) {
    return error.what();
  }
  return "(loaded)";
}

TEST(LwsScene, ItemsNamesAndParentsInEveryVersion) {
  ScratchFolder folder;
  folder.Write("Objects/car.lwo", WriteLwo2(lwfiles_test::LayeredObject()));
  // Parents declared after their children, lights under nulls, bones
  // under bones and a null under a bone; Windows separators in the path,
  // relative to the folder above the scene's.
  const std::vector<LwsWriterItem> items = {
      Object("Objects\\car.lwo", 1, 2),       Object("Objects\\car.lwo", 4, 0),
      Named(LwsItemKind::kNull, "Rig Root"),  Named(LwsItemKind::kLight, "Sun", 2),
      Named(LwsItemKind::kCamera, "Cam"),     Object("Objects\\car.lwo", 2),
      Named(LwsItemKind::kBone, "Arm"),       Named(LwsItemKind::kBone, "Hand", 6),
      Named(LwsItemKind::kNull, "Tip", 7)};
  for (int version : {3, 4, 5}) {
    SCOPED_TRACE("version " + std::to_string(version));
    const Scene scene = LoadSceneFile(folder.Write("Scenes/car.lws", WriteLws(items, version)));
    EXPECT_EQ(scene.name, "car.lws");
    ASSERT_EQ(scene.items.size(), items.size());
    const std::vector<std::string> names = {"car:Body", "car:Wheel", "Rig Root", "Sun", "Cam",
                                            "car:Layer 2", "Arm", "Hand", "Tip"};
    const std::vector<int> parents = {2, 0, -1, 2, -1, -1, 5, 6, 7};
    const std::vector<ItemType> types = {ItemType::kObject, ItemType::kObject, ItemType::kObject,
                                         ItemType::kLight,  ItemType::kCamera, ItemType::kObject,
                                         ItemType::kBone,   ItemType::kBone,   ItemType::kObject};
    for (std::size_t i = 0; i < items.size(); ++i) {
      EXPECT_EQ(scene.items[i].name, names[i]);
      EXPECT_EQ(scene.items[i].parent, parents[i]) << names[i];
      EXPECT_EQ(scene.items[i].type, types[i]) << names[i];
    }
    // One file record for the three layers; nulls have neither file nor mesh.
    ASSERT_EQ(scene.objectFiles.size(), 1u);
    ASSERT_EQ(scene.objectFiles[0].layers.size(), 3u);
    EXPECT_EQ(scene.objectFiles[0].layers[1].number, 3);
    EXPECT_EQ(scene.objectFiles[0].layers[1].name, "Wheel");
    EXPECT_EQ(scene.items[1].objectFile, 0);
    EXPECT_EQ(scene.items[2].objectFile, -1);
    EXPECT_EQ(scene.items[2].mesh, -1);
    EXPECT_EQ(scene.meshes.size(), 3u);
    EXPECT_EQ(scene.TotalPoints(), 24);
    ASSERT_EQ(scene.objectFiles[0].surfaces.size(), 3u);
    const Surface& paint = scene.objectFiles[0].surfaces[0];
    ASSERT_GE(paint.colorTexture, 0);
    const Texture& texture = scene.textures[static_cast<std::size_t>(paint.colorTexture)];
    ASSERT_EQ(texture.layers.size(), 3u);
    EXPECT_EQ(scene.images.at(static_cast<std::size_t>(texture.layers[0].image)).name, "paint.tga");
    const Surface& chrome = scene.objectFiles[0].surfaces[2];
    EXPECT_EQ(scene.images.at(static_cast<std::size_t>(chrome.reflectionImage)).name, "sky.png");
  }
}

// A point of an item in world coordinates, from what the host reports.
Vec3 ToWorld(const Item& item, const Vec3& point) {
  const Vec3 right = item.atTimeZero.Get(LWIP_RIGHT), up = item.atTimeZero.Get(LWIP_UP);
  const Vec3 forward = item.atTimeZero.Get(LWIP_FORWARD), origin = item.atTimeZero.Get(LWIP_W_POSITION);
  const Vec3 pivot = item.atTimeZero.Get(LWIP_PIVOT);
  Vec3 world{};
  for (std::size_t k = 0; k < 3; ++k) {
    world[k] = right[k] * (point[0] - pivot[0]) + up[k] * (point[1] - pivot[1]) +
               forward[k] * (point[2] - pivot[2]) + origin[k];
  }
  return world;
}

TEST(LwsScene, WorldPositionsAgreeWithIndependentReaders) {
  // Two scenes that assimp and OpenSceneGraph both place alike: a null
  // at (1, 2, 3) with a child whose pivot is (0.5, 0, 0); the child's
  // point (-0.1, 0.95, -0.15) lands where they put it.
  struct Case {
    Vec3 parentRotationDegrees;
    Vec3 childPosition;
    Vec3 expected;
  };
  const Case cases[] = {{{90, 0, 0}, {1, 0, 0}, {0.85, 2.95, 2.6}},
                        {{40, 30, 20}, {1, 0.5, -0.25}, {1.1673, 3.4985, 3.3861}}};
  ScratchFolder folder;
  for (const Case& c : cases) {
    LwsWriterItem parent = Named(LwsItemKind::kNull, "Parent");
    parent.position = {1, 2, 3};
    for (std::size_t k = 0; k < 3; ++k) parent.rotation[k] = c.parentRotationDegrees[k] * kPi / 180;
    LwsWriterItem child = Named(LwsItemKind::kNull, "Child", 0);
    child.position = c.childPosition;
    child.pivot = Vec3{0.5, 0, 0};
    const Scene scene = LoadSceneFile(folder.Write("pivot.lws", WriteLws({parent, child})));
    const Vec3 world = ToWorld(scene.items.at(1), {-0.1, 0.95, -0.15});
    for (std::size_t k = 0; k < 3; ++k) EXPECT_NEAR(world[k], c.expected[k], 1e-4) << "axis " << k;
    // The inverse axes are the world axes seen from the item: mapped
    // back out through the item's axes they give the world axes again.
    const Motion& motion = scene.items[1].atTimeZero;
    const int inverseCodes[] = {LWIP_W_RIGHT, LWIP_W_UP, LWIP_W_FORWARD};
    for (std::size_t axis = 0; axis < 3; ++axis) {
      const Vec3 inItem = motion.Get(inverseCodes[axis]);
      for (std::size_t k = 0; k < 3; ++k) {
        const double out = motion.Get(LWIP_RIGHT)[k] * inItem[0] + motion.Get(LWIP_UP)[k] * inItem[1] +
                           motion.Get(LWIP_FORWARD)[k] * inItem[2];
        EXPECT_NEAR(out, axis == k ? 1.0 : 0.0, 1e-12);
      }
    }
  }
}

TEST(LwsScene, PivotsComeFromTheSceneElseFromTheLayer) {
  ScratchFolder folder;
  folder.Write("car.lwo", WriteLwo2(lwfiles_test::LayeredObject()));
  LwsWriterItem own = Object("car.lwo", 1);
  own.pivot = Vec3{1, 2, 3};
  own.pivotRotation = Vec3{kPi / 2, 0, kPi / 4};
  const Scene scene = LoadSceneFile(folder.Write("car.lws", WriteLws({own, Object("car.lwo", 4)})));
  EXPECT_EQ(scene.items[0].atTimeZero.Get(LWIP_PIVOT), (Vec3{1, 2, 3}));
  const Vec3 pivotRotation = scene.items[0].atTimeZero.Get(LWIP_PIVOT_ROT);
  EXPECT_NEAR(pivotRotation[0], kPi / 2, 1e-12);
  EXPECT_NEAR(pivotRotation[2], kPi / 4, 1e-12);
  EXPECT_EQ(scene.items[1].atTimeZero.Get(LWIP_PIVOT), (Vec3{2, 0, -1}));
}

TEST(LwsScene, ObjectsAreLookedUpWhereLayoutWouldLook) {
  ScratchFolder folder;
  const std::vector<std::uint8_t> cube = WriteLwo2(lwfiles_test::CubeObject());
  folder.Write("content/Things/cube.lwo", cube);
  folder.Write("Scenes/box.lwo", cube);
  const std::string fromContent = folder.Write("Scenes/a.lws", WriteLws({Object("Things/cube.lwo", 1)}));
  const std::string fromAbsolute = folder.Write("Scenes/b.lws", WriteLws({Object("C:\\Models\\box.lwo", 1)}));

  LoadOptions content;
  content.contentDirectory = (folder.path() / "content").string();
  EXPECT_EQ(LoadSceneFile(fromContent, content).objectFiles.at(0).filename,
            (folder.path() / "content/Things/cube.lwo").string());
  EXPECT_EQ(LoadSceneFile(fromAbsolute).objectFiles.at(0).filename, (folder.path() / "Scenes/box.lwo").string());

  // Without the content directory the object is not found, and every
  // place looked at is listed.
  const std::string error = LoadError(fromContent);
  EXPECT_NE(error.find("a.lws:9: the object file 'Things/cube.lwo' was not found"), std::string::npos) << error;
  const std::filesystem::path& root = folder.path();
  for (const std::filesystem::path& tried : {root / "Scenes/Things/cube.lwo", root / "Things/cube.lwo",
                                             root.parent_path() / "Things/cube.lwo", root / "Scenes/cube.lwo"}) {
    EXPECT_NE(error.find("\n  " + tried.string() + "\n"), std::string::npos) << tried;
  }
}

TEST(LwsScene, BareObjectLoadsItsLayersAtRest) {
  ScratchFolder folder;
  Lwo2Object object = lwfiles_test::LayeredObject();
  Lwo2Layer empty;
  empty.number = 7;
  object.layers.push_back(empty);
  const Scene scene = LoadSceneFile(folder.Write("car.lwo", WriteLwo2(object)));
  EXPECT_EQ(scene.name, "car.lwo");
  ASSERT_EQ(scene.items.size(), 3u) << "the empty layer is not an item";
  // In layer-number order, as Layout makes them, though the file keeps
  // the wheel (layer 4) before the spare (layer 2).
  EXPECT_EQ(scene.items[0].name, "car:Body");
  EXPECT_EQ(scene.items[1].name, "car:Layer 2");
  EXPECT_EQ(scene.items[2].name, "car:Wheel");
  EXPECT_EQ(scene.items[2].parent, 0);
  EXPECT_EQ(scene.TotalPoints(), 24);
  // Each layer sits at its pivot, so its points stay where they were
  // modelled, also under a parent with a pivot of its own.
  for (const Item& item : scene.items) {
    const Vec3 pivot = item.atTimeZero.Get(LWIP_PIVOT);
    EXPECT_EQ(item.atTimeZero.Get(LWIP_POSITION), pivot) << item.name;
    const Vec3 world = ToWorld(item, {5, 6, 7});
    for (std::size_t k = 0; k < 3; ++k) EXPECT_NEAR(world[k], 5.0 + static_cast<double>(k), 1e-12) << item.name;
  }
}

TEST(LwsScene, EveryPolygonHasASurfaceOfTheObject) {
  ScratchFolder folder;
  Lwo2Object object = lwfiles_test::CubeObject();
  object.layers[0].mesh.polygons[0].surface.clear();
  object.layers[0].mesh.polygons[1].surface = "Rust";
  const Scene scene = LoadSceneFile(folder.Write("cube.lwo", WriteLwo2(object)));
  std::vector<std::string> names;
  for (const Surface& surface : scene.objectFiles.at(0).surfaces) names.push_back(surface.name);
  EXPECT_EQ(names, (std::vector<std::string>{"Box", "Default", "Rust"}));
  EXPECT_EQ(scene.meshes.at(0).polygons[0].surface, "Default");
  EXPECT_DOUBLE_EQ(scene.objectFiles[0].surfaces[2].glossiness, 0.4);
}

TEST(LwsScene, InterimVersionAndForeignBlocks) {
  ScratchFolder folder;
  folder.Write("cube.lwo", WriteLwo2(lwfiles_test::CubeObject()));
  // Version 2 keeps angles in degrees; plug-in data and unknown blocks
  // hold braces and keywords that are not the scene's.
  const std::string text =
      "LWSC\n2\n\nLoadObject cube.lwo\nObjectMotion (unnamed)\n  9\n"
      "  1\n  1.5 0 0 0 0 0\n  1\n  0 0 0 0 0 0\n  2\n  0 0 0 0 0 0\n  4 1 0 0 0 0\n"
      "  1\n  90 0 0 0 0 0\n  1\n  0 0 0 0 0 0\n  1\n  0 0 0 0 0 0\n"
      "  1\n  2 0 0 0 0 0\n  1\n  2 0 0 0 0 0\n  1\n  2 0 0 0 0 0\n"
      "Pre/PostBehavior 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1\n"
      "Plugin CustomObjHandler 1 Strange\n{ Envelope\nLoadObject nowhere.lwo\nEndPlugin\n"
      "ObjectDissolve (envelope)\n{ Envelope\n  1\n  Key 0.5 0 0 0 0 0 0 0 0\n  Behaviors 1 1\n}\n"
      "{ Nodes\n  { Inner\n    AddNullObject Fake\n  }\n}\n";
  const Scene scene = LoadSceneFile(folder.Write("old.lws", text));
  ASSERT_EQ(scene.items.size(), 1u);
  EXPECT_EQ(scene.items[0].atTimeZero.Get(LWIP_POSITION), (Vec3{1.5, 0, 0}));
  EXPECT_NEAR(scene.items[0].atTimeZero.Get(LWIP_ROTATION)[0], kPi / 2, 1e-12);
  EXPECT_EQ(scene.items[0].atTimeZero.Get(LWIP_SCALING), (Vec3{2, 2, 2}));
}

TEST(LwsScene, FaultsNameTheLineAndWhatIsWrong) {
  ScratchFolder folder;
  folder.Write("cube.lwo", WriteLwo2(lwfiles_test::CubeObject()));
  struct Case {
    std::string text;
    std::string expected;
  };
  const Case cases[] = {
      {"LWSC\n3\n\nAddNullObject A\nParentItem 10000005\n", "bad.lws:5: the parent item 10000005 is not in the scene"},
      {"LWSC\n3\nAddNullObject A\nParentItem 10000001\nAddNullObject B\nParentItem 10000000\n",
       "the parents of 'A' lead back to it"},
      {"LWSC\n3\nLoadObjectLayer 2 cube.lwo\n", "bad.lws:3: the object file"},
      {"LWSC\n1\n", "bad.lws:2: scene version 1"},
      {"LWSC\n6\n", "scene version 6 is not read"},
      {"LWMO\n3\n", "motion file"},
      {"LWSC\n3\nAddNullObject A\nObjectMotion\nChannel 0\n{ Envelope\n  Key 1 0 0\n", "bad.lws:6: the Envelope"},
      {"LWSC\n3\nAddNullObject A\n}\n", "bad.lws:4: a '}' that closes no block"},
      {"LWSC\n3\nAddNullObject A\nPivotPosition 1 nan 2\n", "bad.lws:4: 'nan' is not a finite number"},
      {"LWSC\n5\nAddNullObject 10000000 A\nAddNullObject 10000000 B\n", "id 10000000 is also used on line 3"},
  };
  for (const Case& c : cases) {
    const std::string error = LoadError(folder.Write("bad.lws", c.text));
    EXPECT_NE(error.find(c.expected), std::string::npos) << error;
  }
  EXPECT_NE(LoadError(folder.Write("bad.lws", "LWSC\n3\nLoadObjectLayer 2 cube.lwo\n")).find("(its layers are 1)"),
            std::string::npos);
}

}  // namespace
}  // namespace host
