#include "host/scene_model.h"

#include <cstddef>
#include <limits>

#include "lwsdk/item_info.h"

namespace host {
namespace {

Vec3 AtRest(int code) {
  switch (code) {
    case LWIP_SCALING:
      return {1.0, 1.0, 1.0};
    case LWIP_RIGHT:
    case LWIP_W_RIGHT:
      return {1.0, 0.0, 0.0};
    case LWIP_UP:
    case LWIP_W_UP:
      return {0.0, 1.0, 0.0};
    case LWIP_FORWARD:
    case LWIP_W_FORWARD:
      return {0.0, 0.0, 1.0};
    default:
      return {0.0, 0.0, 0.0};
  }
}

// Sums a per-mesh count over the object items, as Layout counts each
// object item even when several share one mesh; saturates at INT_MAX.
template <typename CountOf>
int SumOverObjects(const Scene& scene, CountOf countOf) {
  constexpr auto kMax = static_cast<std::size_t>(std::numeric_limits<int>::max());
  std::size_t total = 0;
  for (const Item& item : scene.items) {
    if (item.type != ItemType::kObject || item.mesh < 0) continue;
    const auto mesh = static_cast<std::size_t>(item.mesh);
    if (mesh >= scene.meshes.size()) continue;
    total += countOf(scene.meshes[mesh]);
    if (total >= kMax) return static_cast<int>(kMax);
  }
  return static_cast<int>(total);
}

}  // namespace

Vec3 Motion::Get(int code) const {
  const auto found = params.find(code);
  return found != params.end() ? found->second : AtRest(code);
}

int Scene::TotalPoints() const {
  return SumOverObjects(*this, [](const Mesh& mesh) { return mesh.points.size(); });
}

int Scene::TotalPolygons() const {
  return SumOverObjects(*this, [](const Mesh& mesh) { return mesh.polygons.size(); });
}

}  // namespace host
