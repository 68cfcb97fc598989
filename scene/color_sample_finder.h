// The distinct day and night colours that the points take, found again by
// their bytes.  A corner's colours are eight bytes (day red, green, blue,
// alpha, then night), one 64-bit key that compares in one step, where a
// UV sample needs its floats compared one by one and checked for NaN.
// The list the samples go to is the UV maps' kind: each colour as two
// floats of 16 bits each, which the vertex steps read as they read UV
// samples.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <optional>
#include <vector>

#include "platform/hash_index.h"
#include "scene/mesh_object.h"
#include "scene/point_chains.h"

namespace scene {

class ColorSampleFinder {
 public:
  // `dimension` is 2 for day colours alone, 4 for day and night.
  ColorSampleFinder(UvSampleList& list, std::size_t points, std::int32_t dimension)
      : list_(list), chains_(points, points) {
    list_.dimension = dimension;
    // A sample per point, and an eighth more for the points that colour
    // seams split: the lists rarely grow, and never by doubling.
    const std::size_t expected = points + points / 8;
    list_.values.reserve(expected * static_cast<std::size_t>(dimension));
    keys_.reserve(expected);
  }

  // The point's sample of these colours: the first one it already has, or
  // a new one appended to the list.  `key` holds the bytes in memory order.
  std::int32_t FindOrAdd(std::int32_t point, std::uint64_t key) {
    const std::int32_t found =
        chains_.Find(point, [&] { return Hash(point, key); }, [&](std::int32_t s) { return KeyOf(s) == key; });
    if (found >= 0) return found;
    keys_.push_back(key);
    std::array<std::uint8_t, 8> bytes{};
    std::memcpy(bytes.data(), &key, sizeof key);
    // Each float holds two bytes, the first as its high half.
    for (std::int32_t i = 0; i < list_.dimension; ++i) {
      const auto at = static_cast<std::size_t>(2 * i);
      list_.values.push_back(static_cast<float>(bytes[at] * 256 + bytes[at + 1]));
    }
    ++list_.count;
    return chains_.Add(point, [&](std::int32_t s) -> std::optional<std::uint64_t> { return Hash(point, KeyOf(s)); });
  }

 private:
  static std::uint64_t Hash(std::int32_t point, std::uint64_t key) {
    return platform::HashCombine(static_cast<std::uint64_t>(point), key);
  }
  std::uint64_t KeyOf(std::int32_t sample) const { return keys_[static_cast<std::size_t>(sample)]; }

  UvSampleList& list_;
  PointChains chains_;
  std::vector<std::uint64_t> keys_;  // per sample
};

}  // namespace scene
