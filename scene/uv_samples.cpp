#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "plugin/lw_host.h"
#include "scene/geometry_steps.h"
#include "scene/hash_index.h"
#include "scene/point_chains.h"

namespace scene {
namespace {

// Asked of every corner: a plain loop, which the compiler keeps inline.
bool HasNaN(const float* values, std::int32_t dimension) {
  for (std::int32_t i = 0; i < dimension; ++i) {
    if (std::isnan(values[i])) return true;
  }
  return false;
}

bool SameValues(const float* a, const float* b, std::int32_t dimension) {
  for (std::int32_t i = 0; i < dimension; ++i) {
    if (!(a[i] == b[i])) return false;
  }
  return true;
}

std::uint64_t SampleHash(std::int32_t point, const float* values, std::int32_t dimension) {
  std::uint64_t hash = HashCombine(static_cast<std::uint64_t>(point), static_cast<std::uint64_t>(dimension));
  for (std::int32_t i = 0; i < dimension; ++i) hash = HashCombine(hash, FloatHashBits(values[i]));
  return hash;
}

// Fills one map's sample list.  A value already among the point's samples
// gives that sample, otherwise it is appended.  A value with a NaN
// component equals nothing: it is always a new sample.
class SampleFinder {
 public:
  // Every point that a triangle uses has at least one sample.
  SampleFinder(UvSampleList& list, std::size_t points, std::int32_t dimension)
      : list_(list), chains_(points, points) {
    list_.dimension = dimension;
    list_.values.reserve(points * static_cast<std::size_t>(std::max(dimension, 0)));
  }

  std::int32_t FindOrAdd(std::int32_t point, const float* values) {
    const std::int32_t dimension = list_.dimension;
    if (!HasNaN(values, dimension)) {
      const std::int32_t found = chains_.Find(
          point, [&] { return SampleHash(point, values, dimension); },
          [&](std::int32_t sample) { return SameValues(list_.Values(sample), values, dimension); });
      if (found >= 0) return found;
    }
    list_.values.insert(list_.values.end(), values, values + dimension);
    ++list_.count;
    return chains_.Add(point, [&](std::int32_t sample) -> std::optional<std::uint64_t> {
      const float* stored = list_.Values(sample);
      if (HasNaN(stored, dimension)) return std::nullopt;
      return SampleHash(point, stored, dimension);
    });
  }

 private:
  UvSampleList& list_;
  PointChains chains_;
};

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
  const auto maps = static_cast<std::size_t>(object.uvSetCount);
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
  const auto maps = static_cast<std::size_t>(object.uvSetCount);
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
  const auto maps = static_cast<std::size_t>(object.uvSetCount);
  object.uvSamples.resize(maps);
  object.cornerSamples.assign(object.polygons.size() * 3 * maps, 0);
  for (std::int32_t map = 0; map < object.uvSetCount; ++map) ReadMap(object, mesh, map);
}

}  // namespace scene
