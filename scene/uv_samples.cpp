#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "scene/geometry_steps.h"
#include "scene/hash_index.h"
#include "scene/host_codes.h"

namespace scene {
namespace {

bool HasNaN(const float* values, std::int32_t dimension) {
  return std::any_of(values, values + dimension, [](float v) { return std::isnan(v); });
}

bool SameValues(const UvSample& sample, const float* values, std::int32_t dimension) {
  if (sample.dimension != dimension) return false;
  for (std::int32_t i = 0; i < dimension; ++i) {
    if (!(sample.values[static_cast<std::size_t>(i)] == values[i])) return false;
  }
  return true;
}

// The samples of every point in one UV map.  A value that is already among
// the point's samples gives that sample's position, otherwise it is
// appended.  A NaN component equals nothing, so such a value is always a new
// sample and is kept out of the index.
class SampleFinder {
 public:
  SampleFinder(std::vector<MeshPoint>& points, std::size_t map) : points_(points), map_(map) {}

  std::int32_t FindOrAdd(std::int32_t point, const float* values, std::int32_t dimension) {
    std::vector<UvSample>& samples = points_[static_cast<std::size_t>(point)].uvSamples[map_];
    if (HasNaN(values, dimension)) return Append(samples, values, dimension);

    const std::uint64_t hash = Hash(point, values, dimension);
    const std::int32_t found = index_.Find(hash, [&](std::int32_t entry) {
      const Entry& e = entries_[static_cast<std::size_t>(entry)];
      return e.point == point && SameValues(samples[static_cast<std::size_t>(e.sample)], values, dimension);
    });
    if (found >= 0) return entries_[static_cast<std::size_t>(found)].sample;

    const std::int32_t sample = Append(samples, values, dimension);
    index_.Insert(hash, static_cast<std::int32_t>(entries_.size()));
    entries_.push_back({point, sample});
    return sample;
  }

 private:
  struct Entry {
    std::int32_t point;
    std::int32_t sample;
  };

  static std::uint64_t Hash(std::int32_t point, const float* values, std::int32_t dimension) {
    std::uint64_t hash = HashCombine(static_cast<std::uint64_t>(point), static_cast<std::uint64_t>(dimension));
    for (std::int32_t i = 0; i < dimension; ++i) hash = HashCombine(hash, FloatHashBits(values[i]));
    return hash;
  }

  static std::int32_t Append(std::vector<UvSample>& samples, const float* values, std::int32_t dimension) {
    samples.push_back(UvSample{dimension, std::vector<float>(values, values + dimension)});
    return static_cast<std::int32_t>(samples.size() - 1);
  }

  std::vector<MeshPoint>& points_;
  std::size_t map_;
  std::vector<Entry> entries_;
  HashIndex index_;
};

// A map the scene counts but this mesh lacks gives every corner (0, 0).
void AddMissingMap(MeshObject& object, SampleFinder& finder) {
  const float zero[2] = {0.0f, 0.0f};
  for (MeshPolygon& triangle : object.polygons) {
    for (std::size_t k = 0; k < 3; ++k) triangle.cornerSamples[k].push_back(finder.FindOrAdd(triangle.corners[k], zero, 2));
  }
}

// Reads one corner's value into `buffer`: the value the point has for this
// polygon, else its own value, else zero.
void ReadCornerValue(LWMeshInfoID mesh, LWPntID point, LWPolID polygon, std::vector<float>& buffer) {
  std::fill(buffer.begin(), buffer.end(), 0.0f);
  if (mesh->pntVPGet(mesh, point, polygon, buffer.data()) != 0) return;
  std::fill(buffer.begin(), buffer.end(), 0.0f);
  if (mesh->pntVGet(mesh, point, buffer.data()) != 0) return;
  std::fill(buffer.begin(), buffer.end(), 0.0f);
}

void ReadMap(MeshObject& object, LWMeshInfoID mesh, std::int32_t map) {
  SampleFinder finder(object.points, static_cast<std::size_t>(map));
  const char* name = object.sceneObjects->vmapName(kUvMapType, map);
  void* handle = name != nullptr ? mesh->pntVLookup(mesh, kUvMapType, name) : nullptr;
  if (handle == nullptr) {
    AddMissingMap(object, finder);
    return;
  }
  const std::int32_t dimension = std::max(mesh->pntVSelect(mesh, handle), 0);
  // Never an empty buffer: the host gets a valid address even for no values.
  std::vector<float> buffer(static_cast<std::size_t>(std::max(dimension, 1)));
  for (MeshPolygon& triangle : object.polygons) {
    for (std::size_t k = 0; k < 3; ++k) {
      const std::int32_t point = triangle.corners[k];
      ReadCornerValue(mesh, object.points[static_cast<std::size_t>(point)].pointId, triangle.polygonId, buffer);
      triangle.cornerSamples[k].push_back(finder.FindOrAdd(point, buffer.data(), dimension));
    }
  }
}

}  // namespace

void ReadUvSamples(MeshObject& object, LWMeshInfoID mesh) {
  object.uvSetCount = std::max(object.sceneObjects->numVMaps(kUvMapType), 0);
  const auto maps = static_cast<std::size_t>(object.uvSetCount);
  for (MeshPoint& point : object.points) {
    point.uvSetCount = object.uvSetCount;
    point.uvSamples.resize(maps);
  }
  for (MeshPolygon& triangle : object.polygons) {
    for (auto& samples : triangle.cornerSamples) samples.reserve(maps);
  }
  for (std::int32_t map = 0; map < object.uvSetCount; ++map) ReadMap(object, mesh, map);
}

}  // namespace scene
