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

bool SameValues(const UvSample& sample, const float* values, std::int32_t dimension) {
  if (sample.dimension != dimension) return false;
  for (std::int32_t i = 0; i < dimension; ++i) {
    if (!(sample.values[static_cast<std::size_t>(i)] == values[i])) return false;
  }
  return true;
}

std::uint64_t SampleHash(std::int32_t point, const float* values, std::int32_t dimension) {
  std::uint64_t hash = HashCombine(static_cast<std::uint64_t>(point), static_cast<std::uint64_t>(dimension));
  for (std::int32_t i = 0; i < dimension; ++i) hash = HashCombine(hash, FloatHashBits(values[i]));
  return hash;
}

// The samples of every point in one UV map.  A value already among the
// point's samples gives that sample's position, otherwise it is appended.
// Most points take one or two values, and their short lists are scanned;
// a point whose list grows long (the hub of many seams) has its samples
// indexed, so that no point costs more than a few comparisons per corner.
// A value with a NaN component equals nothing: it is always a new sample
// and never enters the index.
class SampleFinder {
 public:
  SampleFinder(std::vector<MeshPoint>& points, std::size_t map) : points_(points), map_(map) {}

  std::int32_t FindOrAdd(std::int32_t point, const float* values, std::int32_t dimension) {
    std::vector<UvSample>& samples = Samples(point);
    if (HasNaN(values, dimension)) return Append(point, values, dimension, false);
    if (samples.size() < kScanLimit) {
      for (std::size_t i = 0; i < samples.size(); ++i) {
        if (SameValues(samples[i], values, dimension)) return static_cast<std::int32_t>(i);
      }
      return Append(point, values, dimension, false);
    }
    const std::int32_t found = index_.Find(SampleHash(point, values, dimension), [&](std::int32_t entry) {
      const Entry& e = entries_[static_cast<std::size_t>(entry)];
      return e.point == point && SameValues(samples[static_cast<std::size_t>(e.sample)], values, dimension);
    });
    if (found >= 0) return entries_[static_cast<std::size_t>(found)].sample;
    return Append(point, values, dimension, true);
  }

 private:
  static constexpr std::size_t kScanLimit = 8;

  struct Entry {
    std::int32_t point;
    std::int32_t sample;
  };

  std::vector<UvSample>& Samples(std::int32_t point) {
    return points_[static_cast<std::size_t>(point)].uvSamples[map_];
  }

  std::int32_t Append(std::int32_t point, const float* values, std::int32_t dimension, bool indexed) {
    std::vector<UvSample>& samples = Samples(point);
    samples.push_back(UvSample{dimension, std::vector<float>(values, values + dimension)});
    const auto sample = static_cast<std::int32_t>(samples.size() - 1);
    if (indexed) {
      Index(point, sample);
    } else if (samples.size() == kScanLimit) {
      // From now on this point's samples are looked up in the index.
      for (std::int32_t i = 0; i <= sample; ++i) {
        const UvSample& s = samples[static_cast<std::size_t>(i)];
        if (!HasNaN(s.values.data(), s.dimension)) Index(point, i);
      }
    }
    return sample;
  }

  void Index(std::int32_t point, std::int32_t sample) {
    const UvSample& s = Samples(point)[static_cast<std::size_t>(sample)];
    index_.Insert(SampleHash(point, s.values.data(), s.dimension), static_cast<std::int32_t>(entries_.size()));
    entries_.push_back({point, sample});
  }

  std::vector<MeshPoint>& points_;
  std::size_t map_;
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
  SampleFinder finder(object.points, static_cast<std::size_t>(map));
  const float zero[2] = {0.0f, 0.0f};
  const auto maps = static_cast<std::size_t>(object.uvSetCount);
  for (std::size_t corner = 0; corner < object.polygons.size() * 3; ++corner) {
    const std::int32_t point = object.polygons[corner / 3].corners[corner % 3];
    object.cornerSamples[corner * maps + static_cast<std::size_t>(map)] = finder.FindOrAdd(point, zero, 2);
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
  SampleFinder finder(object.points, static_cast<std::size_t>(map));
  PointValues own(object.points.size(), dimension);
  // Never an empty buffer: the host gets a valid address even for no values.
  std::vector<float> buffer(static_cast<std::size_t>(std::max(dimension, 1)));
  const auto maps = static_cast<std::size_t>(object.uvSetCount);
  for (std::size_t corner = 0; corner < object.polygons.size() * 3; ++corner) {
    const MeshPolygon& triangle = object.polygons[corner / 3];
    const std::int32_t point = triangle.corners[corner % 3];
    ReadCornerValue(mesh, object.points[static_cast<std::size_t>(point)], triangle.polygonId, own, buffer);
    object.cornerSamples[corner * maps + static_cast<std::size_t>(map)] =
        finder.FindOrAdd(point, buffer.data(), dimension);
  }
}

}  // namespace

void ReadUvSamples(MeshObject& object, LWMeshInfoID mesh) {
  object.uvSetCount = std::max(object.sceneObjects->numVMaps(LWVMAP_TXUV), 0);
  const auto maps = static_cast<std::size_t>(object.uvSetCount);
  for (MeshPoint& point : object.points) {
    point.uvSetCount = object.uvSetCount;
    point.uvSamples.resize(maps);
  }
  object.cornerSamples.assign(object.polygons.size() * 3 * maps, 0);
  for (std::int32_t map = 0; map < object.uvSetCount; ++map) ReadMap(object, mesh, map);
}

}  // namespace scene
