#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "lwsdk/mesh_info.h"
#include "scene/geometry_steps.h"
#include "scene/sample_finder.h"

namespace scene {
namespace {

// The points' own values in the selected map, each asked of the host once:
// most corners have no value of their own polygon and fall back on it.
class PointValues {
 public:
  PointValues(std::size_t points, std::int32_t dimension)
      : dimension_(static_cast<std::size_t>(dimension)),
        state_(points, kUnread),
        values_(points * dimension_),
        buffer_(std::max<std::size_t>(dimension_, 1)) {}

  // Copies the value of point `at`, whose identifier is `id`, to `out`
  // (room for the map's dimension); false when the point has none.
  bool Read(LWMeshInfoID mesh, std::size_t at, LWPntID id, float* out) {
    float* value = values_.data() + at * dimension_;
    if (state_[at] == kUnread) {
      std::fill(buffer_.begin(), buffer_.end(), 0.0f);
      const bool has = mesh->pntVGet(mesh, id, buffer_.data()) != 0;
      if (has) std::copy_n(buffer_.begin(), dimension_, value);
      state_[at] = has ? kPresent : kAbsent;
    }
    if (state_[at] == kAbsent) return false;
    std::copy_n(value, dimension_, out);
    return true;
  }

 private:
  enum State : std::uint8_t { kUnread, kPresent, kAbsent };
  std::size_t dimension_;
  std::vector<State> state_;
  std::vector<float> values_;
  std::vector<float> buffer_;
};

// A map the scene counts but this mesh lacks gives every corner (0, 0).
void AddMissingMap(MeshObject& object, std::int32_t map) {
  SampleFinder finder(object.uvSamples[static_cast<std::size_t>(map)], object.points.size(), 2);
  const float zero[2] = {0.0f, 0.0f};
  const std::size_t maps = object.SampleStride();
  for (std::size_t corner = 0; corner < object.polygons.size() * 3; ++corner) {
    const std::int32_t point = object.polygons[corner / 3].corners[corner % 3];
    object.cornerSamples[corner * maps + static_cast<std::size_t>(map)] = finder.FindOrAdd(point, zero);
  }
}

// One corner's value: the point's value for this polygon, else its own
// value, else zero.
void ReadCornerValue(LWMeshInfoID mesh, std::size_t point, LWPntID id, LWPolID polygon, PointValues& own,
                     std::vector<float>& buffer) {
  std::fill(buffer.begin(), buffer.end(), 0.0f);
  if (mesh->pntVPGet(mesh, id, polygon, buffer.data()) != 0) return;
  std::fill(buffer.begin(), buffer.end(), 0.0f);
  own.Read(mesh, point, id, buffer.data());
}

void ReadMap(MeshObject& object, LWMeshInfoID mesh, std::int32_t map) {
  const char* name = object.sceneObjects->vmapName(LWVMAP_TXUV, map);
  void* handle = name != nullptr ? mesh->pntVLookup(mesh, LWVMAP_TXUV, name) : nullptr;
  if (handle == nullptr) {
    AddMissingMap(object, map);
    return;
  }
  const std::int32_t dimension = std::max(mesh->pntVSelect(mesh, handle), 0);
  SampleFinder finder(object.uvSamples[static_cast<std::size_t>(map)], object.points.size(), dimension);
  PointValues own(object.points.size(), dimension);
  // Never an empty buffer: the host gets a valid address even for no values.
  std::vector<float> buffer(static_cast<std::size_t>(std::max(dimension, 1)));
  const std::size_t maps = object.SampleStride();
  for (std::size_t corner = 0; corner < object.polygons.size() * 3; ++corner) {
    const MeshPolygon& triangle = object.polygons[corner / 3];
    const std::int32_t point = triangle.corners[corner % 3];
    const auto at = static_cast<std::size_t>(point);
    ReadCornerValue(mesh, at, object.points[at].pointId, triangle.polygonId, own, buffer);
    object.cornerSamples[corner * maps + static_cast<std::size_t>(map)] =
        finder.FindOrAdd(point, buffer.data());
  }
}

}  // namespace

void ReadUvSamples(MeshObject& object, LWMeshInfoID mesh) {
  object.uvSetCount = std::max(object.sceneObjects->numVMaps(LWVMAP_TXUV), 0);
  // Colour lists, when the object has them, follow the UV maps' lists.
  const std::size_t maps = object.SampleStride();
  object.uvSamples.resize(maps);
  object.cornerSamples.assign(object.polygons.size() * 3 * maps, 0);
  for (std::int32_t map = 0; map < object.uvSetCount; ++map) ReadMap(object, mesh, map);
}

}  // namespace scene
