#include "import_scene/collision_object.h"

#include <set>

#include "col/surface_types.h"
#include "import_scene/widened.h"
#include "placement/lightwave_placement.h"

namespace import_scene {
namespace {

std::string SurfaceName(std::uint8_t surface) {
  const char* name = col::SurfaceTypeName(surface);
  return name != nullptr ? name : std::to_string(surface);
}

// The command that builds collision from polygons writes the polygon
// (p0, p1, p2) as the face (p2, p0, p1): the face (a, b, c) comes back from
// the polygon (b, c, a).
host::Lwo2Layer MeshLayer(const import::CollisionMesh& mesh, int number, const char* name,
                          std::set<std::string>& surfaces) {
  host::Lwo2Layer layer;
  layer.number = number;
  layer.name = name;
  for (const import::Vec3& v : mesh.vertices) {
    const placement::Vec3 p = placement::FromGameAxes(Widened(v));
    layer.mesh.points.push_back({static_cast<float>(p[0]), static_cast<float>(p[1]), static_cast<float>(p[2])});
  }
  for (const import::CollisionFace& face : mesh.faces) {
    if (face.corners[0] >= mesh.vertices.size() || face.corners[1] >= mesh.vertices.size() ||
        face.corners[2] >= mesh.vertices.size()) {
      continue;
    }
    host::Polygon polygon;
    polygon.points = {face.corners[1], face.corners[2], face.corners[0]};
    polygon.surface = SurfaceName(face.surface);
    surfaces.insert(polygon.surface);
    layer.mesh.polygons.push_back(std::move(polygon));
  }
  return layer;
}

}  // namespace

host::Lwo2Object CollisionObject(const import::Collision& collision) {
  host::Lwo2Object object;
  std::set<std::string> surfaces;
  object.layers.push_back(MeshLayer(collision.mesh, 0, kCollisionLayer, surfaces));
  object.layers.push_back(MeshLayer(collision.shadow, 1, kShadowLayer, surfaces));
  for (const std::string& name : surfaces) {
    host::Lwo2Surface surface;
    surface.name = name;
    object.surfaces.push_back(surface);
  }
  return object;
}

}  // namespace import_scene
