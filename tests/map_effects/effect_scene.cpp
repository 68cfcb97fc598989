#include "tests/map_effects/effect_scene.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include "lightwave/lwo2_writer.h"

namespace effecttest {
namespace fs = std::filesystem;

namespace {

host::LwsWriterItem Placed(host::LwsItemKind kind, const placementtest::Pose& pose) {
  host::LwsWriterItem item;
  item.kind = kind;
  item.parent = pose.parent;
  item.position = pose.position;
  item.rotation = pose.rotation;
  item.scale = pose.scale;
  return item;
}

// A box 0.4 wide and deep and 4 high, standing on the origin.
host::Lwo2Object Box() {
  host::Lwo2Layer layer;
  for (int i = 0; i < 8; ++i) {
    layer.mesh.points.push_back({(i & 1) != 0 ? 0.2f : -0.2f, (i & 2) != 0 ? 4.0f : 0.0f, (i & 4) != 0 ? 0.2f : -0.2f});
  }
  const std::vector<std::vector<int>> faces = {{0, 2, 3, 1}, {4, 5, 7, 6}, {0, 1, 5, 4},
                                               {2, 6, 7, 3}, {0, 4, 6, 2}, {1, 3, 7, 5}};
  for (const auto& face : faces) layer.mesh.polygons.push_back(host::Polygon{0x46414345u, face, "metal"});
  host::Lwo2Object object;
  object.layers.push_back(layer);
  host::Lwo2Surface surface;
  surface.name = "metal";
  object.surfaces.push_back(surface);
  return object;
}

host::Lwo2Object Grid(int side) {
  host::Lwo2Layer layer;
  for (int z = 0; z <= side; ++z) {
    for (int x = 0; x <= side; ++x) {
      layer.mesh.points.push_back({0.1f * static_cast<float>(x), 0.0f, 0.1f * static_cast<float>(z)});
    }
  }
  for (int z = 0; z < side; ++z) {
    for (int x = 0; x < side; ++x) {
      const int corner = z * (side + 1) + x;
      layer.mesh.polygons.push_back(
          host::Polygon{0x46414345u, {corner, corner + side + 1, corner + side + 2, corner + 1}, "ground"});
    }
  }
  host::Lwo2Object object;
  object.layers.push_back(layer);
  host::Lwo2Surface surface;
  surface.name = "ground";
  object.surfaces.push_back(surface);
  return object;
}

}  // namespace

SceneItem Object(const std::string& objectFile, placementtest::Pose pose) {
  SceneItem scene{Placed(host::LwsItemKind::kObject, pose), pose};
  scene.item.objectPath = objectFile;
  scene.item.pivot = pose.pivot;
  scene.item.pivotRotation = pose.pivotRotation;
  return scene;
}

SceneItem Null(const std::string& name, placementtest::Pose pose) {
  SceneItem scene{Placed(host::LwsItemKind::kNull, pose), pose};
  scene.item.name = name;
  return scene;
}

SceneItem PointLight(const std::string& name, placementtest::Pose pose, host::Vec3 rgb) {
  SceneItem scene{Placed(host::LwsItemKind::kLight, pose), pose};
  scene.item.name = name;
  scene.item.light.type = 1;
  scene.item.light.color = rgb;
  return scene;
}

SceneFolder::SceneFolder() {
  const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
  folder_ = fs::temp_directory_path() /
            ("velmora-effects-" + std::to_string(::getpid()) + "-" + test->name());
  fs::remove_all(folder_);
  fs::create_directories(folder_);
}

SceneFolder::~SceneFolder() { fs::remove_all(folder_); }

void SceneFolder::WriteBox(const std::string& objectFile) const {
  host::WriteLwo2File(Box(), (folder_ / objectFile).string());
}

void SceneFolder::WriteBigGrid(const std::string& objectFile) const {
  host::WriteLwo2File(Grid(256), (folder_ / objectFile).string());
}

void SceneFolder::WriteScene(const std::vector<SceneItem>& items) const {
  std::vector<host::LwsWriterItem> written;
  for (const SceneItem& item : items) written.push_back(item.item);
  const std::string text = host::WriteLws(written);
  testsupport::WriteFileBytes(folder_ / "scene.lws", std::vector<std::uint8_t>(text.begin(), text.end()));
}

testsupport::ProgramResult SceneFolder::ExportMap() const {
  return testsupport::RunInFolder(folder_, std::string(LWHOST_PROGRAM) + " --map scene.lws -o map.dff");
}

dffinfo::Inspection SceneFolder::ReadMap() const {
  std::vector<std::uint8_t> bytes;
  std::string error;
  EXPECT_TRUE(dffinfo::ReadWholeFile((folder_ / "map.dff").string(), bytes, error)) << error;
  return dffinfo::Inspect(bytes);
}

bool SceneFolder::MapWritten() const { return fs::exists(folder_ / "map.dff"); }

std::vector<placementtest::Pose> Poses(const std::vector<SceneItem>& items) {
  std::vector<placementtest::Pose> poses;
  for (const SceneItem& item : items) poses.push_back(item.pose);
  return poses;
}

}  // namespace effecttest
