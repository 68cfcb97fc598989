// A hand-built clump through the import: the model read from it, the
// kinds of data it cannot carry named once each, and its LightWave files.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "import/game_files.h"
#include "import_scene/lightwave_files.h"
#include "tests/dff_inspect/dff_builder.h"

namespace {

using dffinfo::testing::Node;

// The Extension of the node tagged `tag`'s parent: where a plug-in record
// beside it goes.
Node* ParentOfTagged(Node& node, const std::string& tag) {
  for (Node& child : node.children) {
    if (child.tag == tag) return &node;
    if (Node* found = ParentOfTagged(child, tag)) return found;
  }
  return nullptr;
}

std::size_t Mentions(const std::vector<std::string>& lines, const std::string& text) {
  return static_cast<std::size_t>(
      std::count_if(lines.begin(), lines.end(), [&](const std::string& l) { return l.find(text) != std::string::npos; }));
}

TEST(GameModel, TheSampleClumpReadsWithItsFramesMaterialsAndCollision) {
  const auto bytes = dffinfo::testing::Serialise({dffinfo::testing::BuildClump(dffinfo::testing::MakeSampleClump())}).bytes;
  const import::Read<import::Model> read = import::ReadDff(bytes, "car.dff");
  ASSERT_TRUE(read.value) << read.error;
  const import::Model& model = *read.value;
  ASSERT_EQ(model.frames.size(), 2u);
  EXPECT_EQ(model.frames[1].name, "wheel_lf_dummy");
  EXPECT_EQ(model.frames[1].parent, 0);
  ASSERT_EQ(model.geometries.size(), 1u);
  const import::Geometry& g = model.geometries[0];
  ASSERT_EQ(g.materials.size(), 2u);
  EXPECT_EQ(g.materials[0].texture, "body");
  EXPECT_EQ(g.materials[0].environmentTexture, std::string("vehicleenvmap128"));
  EXPECT_EQ(g.materials[0].environmentCoefficient, 0.5f);
  EXPECT_EQ(g.materials[0].specularLevel, 0.25f);
  EXPECT_EQ(g.materials[1].color, (import::Rgba{255, 255, 255, 128}));
  ASSERT_TRUE(model.collision);
  EXPECT_EQ(model.collision->name, "car");
  EXPECT_EQ(model.collision->bytes.size(), 120u);
  EXPECT_TRUE(read.warnings.empty());
}

TEST(GameModel, SkinningAnd2dfxAreNamedOnceEachAndTheMeshStillComesIn) {
  dffinfo::testing::SampleClump sample = dffinfo::testing::MakeSampleClump();
  sample.geometries.push_back(sample.geometries[0]);
  sample.geometryCount = 2;
  sample.atomics.push_back({0, 1});
  sample.atomicCount = 2;
  Node clump = dffinfo::testing::BuildClump(sample);
  for (const char* extra : {"extra 0", "extra 1"}) {
    Node* extension = ParentOfTagged(clump, extra);
    ASSERT_NE(extension, nullptr);
    extension->children.push_back(dffinfo::testing::Make(0x116u, dffinfo::testing::Bytes(4, 0)));
    extension->children.push_back(dffinfo::testing::Make(0x0253F2F8u, dffinfo::testing::Bytes(4, 0)));
  }
  const auto bytes = dffinfo::testing::Serialise({clump}).bytes;
  const import::Read<import::Model> read = import::ReadDff(bytes, "ped.dff");
  ASSERT_TRUE(read.value) << read.error;
  EXPECT_EQ(read.value->geometries.size(), 2u);
  EXPECT_EQ(Mentions(read.warnings, "skinning"), 1u);
  EXPECT_EQ(Mentions(read.warnings, "2dfx"), 1u);
  EXPECT_EQ(read.warnings.size(), 2u);
}

import::Geometry Triangle(const std::string& texture) {
  import::Geometry g;
  g.positions = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}};
  g.triangles = {{{0, 1, 2}, 0}};
  import::Material m;
  m.texture = texture;
  g.materials = {m};
  return g;
}

import::Frame MakeFrame(const std::string& name, std::int32_t parent, import::Vec3 position = {0, 0, 0}) {
  import::Frame frame;
  frame.name = name;
  frame.parent = parent;
  frame.position = position;
  return frame;
}

const host::Lwo2Object* Object(const import_scene::SceneFiles& files, const std::string& name) {
  for (const import_scene::ObjectFile& file : files.objects) {
    if (file.fileName == name) return &file.object;
  }
  return nullptr;
}

TEST(GameModel, FramesBecomeNullsObjectsAndLayersThatKeepTheirNames) {
  import::Model model;
  model.frames = {MakeFrame("car", -1), MakeFrame("wheel", 0, {1, 0, 0}), MakeFrame("wheel", 0, {-1, 0, 0}),
                  MakeFrame("door/lf", 0), MakeFrame("Wheel", 0)};
  model.geometries = {Triangle("tyre"), Triangle("missing")};
  model.atomics = {{1, 0}, {2, 0}, {3, 1}, {4, 0}};
  model.textures = {{"TYRE", "", 1, 1, {1, 2, 3, 4}}};
  const import_scene::SceneFiles files = import_scene::ToLightWave(model, "car");

  ASSERT_EQ(files.items.size(), 5u);
  EXPECT_EQ(files.items[0].kind, host::LwsItemKind::kNull);
  EXPECT_EQ(files.items[0].name, "car");
  // Three frames named "wheel" without regard to case share one object,
  // a layer each named as its frame.
  const host::Lwo2Object* wheels = Object(files, "wheel.lwo");
  ASSERT_NE(wheels, nullptr);
  ASSERT_EQ(wheels->layers.size(), 3u);
  EXPECT_EQ(wheels->layers[2].name, "Wheel");
  EXPECT_EQ(files.items[1].objectPath, "wheel.lwo");
  EXPECT_EQ(files.items[2].layer, 2);
  EXPECT_EQ(files.items[1].parent, 0);
  EXPECT_EQ(files.items[1].position[0], -1.0);  // the game's x is Layout's -x
  // A name that cannot be a file name is changed, and said so.
  EXPECT_NE(Object(files, "door_lf.lwo"), nullptr);
  EXPECT_EQ(Mentions(files.warnings, "\"door/lf\" comes in as the object door_lf.lwo"), 1u);
  // The dictionary's TYRE serves the material's "tyre"; the image keeps
  // the material's name, which the export writes back.
  ASSERT_EQ(files.images.size(), 1u);
  EXPECT_EQ(files.images[0].fileName, "tyre.png");
  EXPECT_EQ(Mentions(files.warnings, "texture \"missing\" is not in the texture dictionary"), 1u);
  const host::Lwo2Object* door = Object(files, "door_lf.lwo");
  ASSERT_EQ(door->clips.size(), 1u);
  EXPECT_EQ(door->clips[0].stillPath, "images/missing.png");
}

TEST(GameModel, TrianglesTurnAroundAndTextureCoordinatesFlipToLayoutsWay) {
  import::Model model;
  model.frames = {MakeFrame("part", -1)};
  import::Geometry g = Triangle("");
  g.uvSets = {{{0.25f, 0.0f}, {1.0f, 0.25f}, {0.0f, 1.0f}}};
  g.dayColors = {{255, 0, 0, 255}, {0, 255, 0, 255}, {0, 0, 255, 128}};
  model.geometries = {g};
  model.atomics = {{0, 0}};
  const import_scene::SceneFiles files = import_scene::ToLightWave(model, "part");
  const host::Lwo2Object* part = Object(files, "part.lwo");
  ASSERT_NE(part, nullptr);
  const host::Mesh& mesh = part->layers.at(0).mesh;
  ASSERT_EQ(mesh.polygons.size(), 1u);
  EXPECT_EQ(mesh.polygons[0].points, (std::vector<int>{2, 1, 0}));
  EXPECT_EQ(mesh.points[1], (std::array<float, 3>{-1, 0, 0}));
  EXPECT_EQ(mesh.points[2], (std::array<float, 3>{0, 0, -1}));  // the game's y is Layout's -z
  ASSERT_EQ(mesh.uvMaps.size(), 1u);
  const auto uv = mesh.uvMaps[0].pointValues.Find(0);
  ASSERT_TRUE(uv);
  EXPECT_EQ((*uv)[1], 1.0f);
  ASSERT_EQ(mesh.colorMaps.size(), 1u);
  EXPECT_EQ(mesh.colorMaps[0].name, "day");
  EXPECT_EQ((*mesh.colorMaps[0].pointValues.Find(2))[3], 128 / 255.0f);
  EXPECT_EQ(part->surfaces.at(0).vertexColorMap, "day");
}

}  // namespace
