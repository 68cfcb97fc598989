// Whole exports of scenes the stand-in host serves, read back through the
// inspector and compared with the model they were written from.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "tests/clump/clump_fixture.h"

namespace scene {
namespace {

using testing::AddItem;
using testing::HostExporter;
using testing::Written;

// Frames in order with their parents, each geometry's triangles with their
// materials and its positions, each material's texture, each atomic's frame.
void ExpectFileMatchesModel(const dffinfo::ClumpRecord& clump, const DffExporter& model) {
  ASSERT_EQ(clump.frames.size(), model.orderedFrames.size());
  for (std::size_t i = 0; i < clump.frames.size(); ++i) {
    const FrameNode& frame = *model.orderedFrames[i];
    EXPECT_EQ(clump.frames[i].name, frame.name);
    EXPECT_EQ(clump.frames[i].parent, frame.parent != nullptr ? frame.parent->index : -1);
  }
  ASSERT_EQ(clump.geometries.size(), model.meshObjects.size());
  ASSERT_EQ(clump.atomics.size(), model.meshObjects.size());
  for (std::size_t g = 0; g < model.meshObjects.size(); ++g) {
    const MeshObject& mesh = *model.meshObjects[g];
    const dffinfo::GeometryRecord& geometry = clump.geometries[g];
    std::vector<std::int32_t> corners, materials;
    for (const dffinfo::Triangle& t : geometry.triangles) {
      corners.insert(corners.end(), {t.a, t.b, t.c});
      materials.insert(materials.end(), 3, t.material);
    }
    EXPECT_EQ(corners, mesh.cornerVertices);
    EXPECT_EQ(materials, mesh.cornerMaterials);
    EXPECT_EQ(geometry.morphTargets.at(0).positions.at(0)[0], mesh.positions.at(0).x);
    ASSERT_EQ(geometry.materialList->materials.size(), mesh.materials.size());
    for (std::size_t k = 0; k < mesh.materials.size(); ++k) {
      const auto& texture = geometry.materialList->materials[k].texture;
      EXPECT_EQ(texture ? texture->name : "", mesh.materials[k].textureName);
    }
    EXPECT_EQ(clump.atomics[g].frameIndex, std::uint32_t(mesh.frame->index));
    // Only the output is kept once the geometry is built.
    EXPECT_TRUE(mesh.points.empty() && mesh.polygons.empty() && mesh.vertices.empty() &&
                mesh.cornerSamples.empty() && mesh.uvSamples.empty() && mesh.polygonSurfaces.empty());
  }
}

Written Export(HostExporter& built) {
  built.exporter.BuildFrames();
  built.exporter.BuildAllGeometry();
  Written file(built.exporter);
  // Calls that Layout itself would not have survived.
  for (const std::string& fault : built.host.faults()) ADD_FAILURE() << fault;
  ExpectFileMatchesModel(file.record, built.exporter);
  return file;
}

// A null root with a turned body of a textured, reflective paint and a
// glass, a scaled wheel, and a lamp under a light that lists it second.
TEST(Export, ACarReadsBackAsItsModelWithItsColFileLast) {
  host::Scene scene;
  scene.images = {host::Image{"paint.tga", ""}, host::Image{"chrome.tga", ""}};
  scene.textures = {host::Texture{{host::TextureLayer{host::TextureLayerType::kImage, 0}}}};
  const int root = AddItem(scene, "car");
  const int body = AddItem(scene, "car:body", root, "C:\\cars\\car.lwo");
  const int wheel = AddItem(scene, "wheel:wheel_lf", root, "wheel.lwo");
  AddItem(scene, "lamp:bulb", AddItem(scene, "Sun", -1, "", host::ItemType::kLight), "lamp.lwo");
  scene.meshes[0].points = {{0, 0, 0}, {2, 0, 0}, {2, 1, 0}, {0, 1, 0}, {1, 2, 1}};
  scene.meshes[0].polygons = {host::Polygon{0x46414345u, {0, 1, 2, 3}, "Paint"},
                              host::Polygon{0x46414345u, {3, 2, 4}, "Glass"}};
  scene.objectFiles[0].surfaces = {host::Surface{"Paint", {0.8, 0.1, 0.1}, 0.0, 0.3, 0.6, 0, 1, {}},
                                   host::Surface{"Glass", {1, 1, 1}, 0.5, 0.0, 0.0, -1, -1, {}}};
  scene.items[std::size_t(body)].atTimeZero.params = {{LWIP_W_POSITION, {0, 0.5, 1}},
                                                      {LWIP_ROTATION, {0.5, 0.1, -0.2}}};
  scene.items[std::size_t(wheel)].atTimeZero.params = {{LWIP_SCALING, {1, 1.5, 1.5}}};
  const auto col = std::filesystem::temp_directory_path() / "velmora-export-car.col";
  // A COL3 entry with bounds only: its 120-byte header, nothing else.
  std::string entry("COL3\x70\0\0\0car_col", 15);
  entry.resize(120, '\0');
  std::ofstream(col, std::ios::binary) << entry;
  HostExporter built(scene);
  built.host.SetFileResponder([&](const host::FileRequest&) { return col.string(); });
  const Written file = Export(built);
  std::filesystem::remove(col);

  EXPECT_EQ(std::string(file.bytes.end() - 120, file.bytes.end()), entry);
  ASSERT_EQ(file.record.geometries.size(), 3u);  // the comparison compared something
  EXPECT_EQ(file.record.geometries[0].materialList->materials.size(), 2u);
  EXPECT_EQ(file.record.frames.at(1).name, "bulb");
}

TEST(Export, ASceneOfNullObjectsWritesItsFramesAndNoGeometry) {
  host::Scene scene;
  AddItem(scene, "dummy", AddItem(scene, "root"));
  HostExporter built(scene);
  EXPECT_EQ(Export(built).record.frames.size(), 2u);
}

}  // namespace
}  // namespace scene
