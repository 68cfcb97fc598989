#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "plugin/lw_host.h"
#include "scene/geometry_steps.h"
#include "scene/hash_index.h"

namespace scene {
namespace {

bool HasNaN(const float* values, std::int32_t dimension) {
  return std::any_of(values, values + dimension, [](float v) { return std::isnan(v); });
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
// gives that sample, otherwise it is appended.  Most points take one or two
// values, and their short chains are scanned; a point whose chain grows
// long (the hub of many seams) has its samples indexed, so that no point
// costs more than a few comparisons per corner.  A value with a NaN
// component equals nothing: it is always a new sample and never enters
// the index.
class SampleFinder {
 public:
  SampleFinder(UvSampleList& list, std::size_t points, std::int32_t dimension) : list_(list) {
    list_.dimension = dimension;
    list_.firstOfPoint.assign(points, -1);
    list_.lastOfPoint.assign(points, -1);
    list_.countOfPoint.assign(points, 0);
    // Every point that a triangle uses has at least one sample.
    list_.values.reserve(points * static_cast<std::size_t>(std::max(dimension, 0)));
    list_.nextOfPoint.reserve(points);
  }

  std::int32_t FindOrAdd(std::int32_t point, const float* values) {
    const std::int32_t dimension = list_.dimension;
    if (HasNaN(values, dimension)) return Append(point, values);
    if (CountOf(point) < kScanLimit) {
      for (std::int32_t s = FirstOf(point); s >= 0; s = list_.nextOfPoint[static_cast<std::size_t>(s)]) {
        if (SameValues(list_.Values(s), values, dimension)) return s;
      }
      return Append(point, values);
    }
    const std::int32_t found = index_.Find(SampleHash(point, values, dimension), [&](std::int32_t entry) {
      const Entry& e = entries_[static_cast<std::size_t>(entry)];
      return e.point == point && SameValues(list_.Values(e.sample), values, dimension);
    });
    if (found >= 0) return entries_[static_cast<std::size_t>(found)].sample;
    return Append(point, values);
  }

 private:
  static constexpr std::int32_t kScanLimit = 8;

  struct Entry {
    std::int32_t point;
    std::int32_t sample;
  };

  std::int32_t CountOf(std::int32_t point) const { return list_.countOfPoint[static_cast<std::size_t>(point)]; }
  std::int32_t FirstOf(std::int32_t point) const { return list_.firstOfPoint[static_cast<std::size_t>(point)]; }

  std::int32_t Append(std::int32_t point, const float* values) {
    const std::int32_t sample = list_.size();
    list_.values.insert(list_.values.end(), values, values + list_.dimension);
    list_.nextOfPoint.push_back(-1);
    const auto at = static_cast<std::size_t>(point);
    std::int32_t& last = list_.lastOfPoint[at];
    if (last >= 0) {
      list_.nextOfPoint[static_cast<std::size_t>(last)] = sample;
    } else {
      list_.firstOfPoint[at] = sample;
    }
    last = sample;
    const std::int32_t count = ++list_.countOfPoint[at];
    if (count > kScanLimit) {
      Index(point, sample);
    } else if (count == kScanLimit) {
      // From now on this point's samples are looked up in the index.
      for (std::int32_t s = FirstOf(point); s >= 0; s = list_.nextOfPoint[static_cast<std::size_t>(s)]) Index(point, s);
    }
    return sample;
  }

  void Index(std::int32_t point, std::int32_t sample) {
    const float* values = list_.Values(sample);
    if (HasNaN(values, list_.dimension)) return;
    index_.Insert(SampleHash(point, values, list_.dimension), static_cast<std::int32_t>(entries_.size()));
    entries_.push_back({point, sample});
  }

  UvSampleList& list_;
  std::vector<Entry> entries_;
  HashIndex index_;
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

  // Copies the point's value to `out` (room for the map's dimension);
  // false when the point has none.
  bool Read(LWMeshInfoID mesh, const MeshPoint& point, float* out) {
    const auto at = static_cast<std::size_t>(point.index);
    float* value = values_.data() + at * dimension_;
    if (state_[at] == kUnread) {
      std::fill(buffer_.begin(), buffer_.end(), 0.0f);
      const bool has = mesh->pntVGet(mesh, point.pointId, buffer_.data()) != 0;
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
void ReadCornerValue(LWMeshInfoID mesh, const MeshPoint& point, LWPolID polygon, PointValues& own,
                     std::vector<float>& buffer) {
  std::fill(buffer.begin(), buffer.end(), 0.0f);
  if (mesh->pntVPGet(mesh, point.pointId, polygon, buffer.data()) != 0) return;
  std::fill(buffer.begin(), buffer.end(), 0.0f);
  own.Read(mesh, point, buffer.data());
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
    ReadCornerValue(mesh, object.points[static_cast<std::size_t>(point)], triangle.polygonId, own, buffer);
    object.cornerSamples[corner * maps + static_cast<std::size_t>(map)] =
        finder.FindOrAdd(point, buffer.data());
  }
}

}  // namespace

void ReadUvSamples(MeshObject& object, LWMeshInfoID mesh) {
  object.uvSetCount = std::max(object.sceneObjects->numVMaps(LWVMAP_TXUV), 0);
  const auto maps = static_cast<std::size_t>(object.uvSetCount);
  for (MeshPoint& point : object.points) point.uvSetCount = object.uvSetCount;
  object.uvSamples.resize(maps);
  object.cornerSamples.assign(object.polygons.size() * 3 * maps, 0);
  for (std::int32_t map = 0; map < object.uvSetCount; ++map) ReadMap(object, mesh, map);
}

}  // namespace scene
