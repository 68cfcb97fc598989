#include "tests/import/chain_scene.h"

#include <string>
#include <vector>

#include "lightwave/lwo2_writer.h"
#include "lightwave/lws_writer.h"
#include "tests/support/files_and_programs.h"

namespace importtest {
namespace {

constexpr double kDegree = 3.14159265358979323846 / 180.0;
constexpr std::uint32_t kFace = 0x46414345u;

host::Lwo2Object Wedge() {
  host::Lwo2Object wedge;
  host::Lwo2Layer layer;
  layer.mesh.points = {{0, 0, 0}, {1, 0, 0}, {0, 0.6f, 0}, {0, 0, 0.8f}, {1, 0, 0.8f}, {0, 0.6f, 0.8f}};
  const std::vector<std::vector<int>> faces = {{0, 2, 1}, {3, 4, 5}, {0, 1, 4, 3}, {1, 2, 5, 4}, {2, 0, 3, 5}};
  for (const auto& face : faces) layer.mesh.polygons.push_back({kFace, face, "wedge"});
  host::UvMap uv;
  uv.name = "uv";
  for (int i = 0; i < 6; ++i) uv.pointValues[i] = {0.1f * static_cast<float>(i), 0.3f * static_cast<float>(i)};
  layer.mesh.uvMaps = {uv};
  wedge.layers = {layer};
  host::Lwo2Surface surface;
  surface.name = "wedge";
  surface.color = {0.2, 0.4, 0.6};
  wedge.surfaces = {surface};
  return wedge;
}

}  // namespace

void WriteChainScene(const std::filesystem::path& folder, bool pivotRotation) {
  host::WriteLwo2File(Wedge(), (folder / "wedge.lwo").string());
  std::vector<host::LwsWriterItem> items(5);
  items[0].objectPath = "wedge.lwo";
  items[0].position = {1, 0.5, -2};
  items[0].rotation = {30 * kDegree, 10 * kDegree, -20 * kDegree};
  items[0].scale = {1, 2, 0.5};
  items[0].pivot = host::Vec3{0.2, 0.1, -0.3};
  if (pivotRotation) items[0].pivotRotation = host::Vec3{15 * kDegree, 0, 5 * kDegree};
  items[1].kind = host::LwsItemKind::kNull;
  items[1].name = "hinge";
  items[1].parent = 0;
  items[1].position = {0.5, 1, 0};
  items[1].rotation = {0, 45 * kDegree, 0};
  items[2].objectPath = "wedge.lwo";
  items[2].parent = 1;
  items[2].position = {1, 0, 0};
  items[2].rotation = {-60 * kDegree, 20 * kDegree, 30 * kDegree};
  items[2].pivot = host::Vec3{1, 0, 0};
  items[3].objectPath = "wedge.lwo";
  items[3].parent = 2;
  items[3].position = {0, 2, 0};
  items[3].rotation = {170 * kDegree, -89 * kDegree, 0};
  items[3].scale = {2, 1, 1};
  items[4].objectPath = "wedge.lwo";
  items[4].parent = 0;
  items[4].rotation = {0, 90 * kDegree, 0};
  const std::string text = host::WriteLws(items);
  testsupport::WriteFileBytes(folder / "chain.lws", std::vector<std::uint8_t>(text.begin(), text.end()));
}

}  // namespace importtest
