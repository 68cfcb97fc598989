// The distinct values that the points take in one vertex map, found again
// by value: UV samples, and colour samples in the map command.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <optional>

#include "platform/hash_index.h"
#include "scene/mesh_object.h"
#include "scene/point_chains.h"

namespace scene {

// Asked of every corner: a plain loop, which the compiler keeps inline.
inline bool HasNaN(const float* values, std::int32_t dimension) {
  for (std::int32_t i = 0; i < dimension; ++i) {
    if (std::isnan(values[i])) return true;
  }
  return false;
}

inline bool SameValues(const float* a, const float* b, std::int32_t dimension) {
  for (std::int32_t i = 0; i < dimension; ++i) {
    if (!(a[i] == b[i])) return false;
  }
  return true;
}

inline std::uint64_t SampleHash(std::int32_t point, const float* values, std::int32_t dimension) {
  std::uint64_t hash = platform::HashCombine(static_cast<std::uint64_t>(point), static_cast<std::uint64_t>(dimension));
  for (std::int32_t i = 0; i < dimension; ++i) hash = platform::HashCombine(hash, platform::FloatHashBits(values[i]));
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

}  // namespace scene
