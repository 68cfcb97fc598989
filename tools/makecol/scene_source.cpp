#include <map>
#include <stdexcept>

#include "col/item_roles.h"
#include "lwsdk/item_info.h"
#include "tools/makecol/entry_sources.h"
#include "tools/makecol/polygon_triangles.h"

namespace makecol {
namespace {

constexpr std::uint32_t kFace = 0x46414345u;   // FACE
constexpr std::uint32_t kPatch = 0x50544348u;  // PTCH: subdivision cages count as their faces
constexpr std::uint32_t kSubdivision = 0x53554244u;  // SUBD

// Where an item's points lie at time 0, in the clump's space: the item's
// axes and world position place a point relative to its pivot.
class Placement {
 public:
  explicit Placement(const host::Item& item)
      : right_(item.atTimeZero.Get(LWIP_RIGHT)),
        up_(item.atTimeZero.Get(LWIP_UP)),
        forward_(item.atTimeZero.Get(LWIP_FORWARD)),
        position_(item.atTimeZero.Get(LWIP_W_POSITION)),
        pivot_(item.atTimeZero.Get(LWIP_PIVOT)) {}

  col::Point Place(const std::array<float, 3>& local) const {
    const double p = static_cast<double>(local[0]) - pivot_[0];
    const double q = static_cast<double>(local[1]) - pivot_[1];
    const double r = static_cast<double>(local[2]) - pivot_[2];
    host::Vec3 world = position_;
    for (std::size_t axis = 0; axis < 3; ++axis) {
      world[axis] += right_[axis] * p + up_[axis] * q + forward_[axis] * r;
    }
    // LightWave's (x, y, z) is the clump's (-x, -z, y).
    return {-world[0], -world[2], world[1]};
  }

 private:
  host::Vec3 right_, up_, forward_, position_, pivot_;
};

// The part of an item name after the object's file name: "house:col" is
// the layer "col" of house.lwo.
std::string LayerName(const std::string& itemName) {
  const std::size_t colon = itemName.rfind(':');
  return colon == std::string::npos ? itemName : itemName.substr(colon + 1);
}

bool IsSurfacePolygon(const host::Polygon& polygon) {
  return polygon.points.size() >= 3 &&
         (polygon.type == kFace || polygon.type == kPatch || polygon.type == kSubdivision);
}

class Gatherer {
 public:
  explicit Gatherer(const host::Scene& scene) : scene_(scene) {}

  GatheredEntry Gather() {
    std::vector<col::SourceTriangle> visual;
    bool anyCollision = false;
    for (const host::Item& item : scene_.items) {
      if (item.type != host::ItemType::kObject || item.mesh < 0) continue;
      const col::ItemRole role = col::RoleOfItem(item.name, LayerName(item.name));
      anyCollision = anyCollision || role == col::ItemRole::kCollision;
      std::vector<col::SourceTriangle>& into = role == col::ItemRole::kCollision ? gathered_.source.collision
                                               : role == col::ItemRole::kShadow  ? gathered_.source.shadow
                                                                                 : visual;
      AddItem(item, into, role == col::ItemRole::kVisual);
    }
    if (!anyCollision) {
      gathered_.visualAsCollision = true;
      gathered_.source.collision = std::move(visual);
    }
    if (gathered_.source.collision.empty() && gathered_.source.shadow.empty() && gathered_.source.visual.empty()) {
      throw std::runtime_error("it holds no polygon to make collision from");
    }
    return std::move(gathered_);
  }

 private:
  void AddItem(const host::Item& item, std::vector<col::SourceTriangle>& into, bool visible) {
    const host::Mesh& mesh = scene_.meshes[static_cast<std::size_t>(item.mesh)];
    const Placement placement(item);
    std::vector<col::Point> points;
    points.reserve(mesh.points.size());
    for (const auto& p : mesh.points) points.push_back(placement.Place(p));
    if (visible) gathered_.source.visual.insert(gathered_.source.visual.end(), points.begin(), points.end());

    const auto itemIndex = static_cast<std::uint32_t>(gathered_.source.items.size());
    gathered_.source.items.push_back(item.name);
    std::vector<col::Point> corners;
    for (const host::Polygon& polygon : mesh.polygons) {
      if (!IsSurfacePolygon(polygon)) continue;
      corners.clear();
      for (int index : polygon.points) corners.push_back(points.at(static_cast<std::size_t>(index)));
      const std::uint32_t surface = SurfaceIndex(polygon.surface);
      for (const auto& t : TriangulatePolygon(corners)) {
        into.push_back({{corners[t[0]], corners[t[1]], corners[t[2]]}, itemIndex, surface});
      }
    }
  }

  std::uint32_t SurfaceIndex(const std::string& name) {
    const auto next = static_cast<std::uint32_t>(gathered_.source.surfaces.size());
    const auto [found, added] = surfaceIndex_.emplace(name, next);
    if (added) gathered_.source.surfaces.push_back(name);
    return found->second;
  }

  const host::Scene& scene_;
  GatheredEntry gathered_;
  std::map<std::string, std::uint32_t> surfaceIndex_;
};

}  // namespace

GatheredEntry FromScene(const host::Scene& scene) { return Gatherer(scene).Gather(); }

}  // namespace makecol
