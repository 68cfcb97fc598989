// The things made for each point (its UV samples in one map, or its
// vertices), kept in the order they were made, for lookups that must give
// the point's first equal one.  Most points have one or two, and their
// short chains are scanned; a point whose chain grows long (the hub of
// many seams) has its things indexed by hash, so that no point costs more
// than a few comparisons per lookup.  The chains serve only the finding:
// they go with the builder step that owns them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "platform/hash_index.h"

namespace scene {

class PointChains {
 public:
  // Room for `points` chains, and for `expected` things in all.
  PointChains(std::size_t points, std::size_t expected) : chains_(points) { next_.reserve(expected); }

  // The point's first thing for which `same(thing)` holds, or -1.  `hash()`
  // gives the hash of what is looked for; it is asked only of a long chain.
  template <class Hash, class Same>
  std::int32_t Find(std::int32_t point, Hash hash, Same same) const {
    const Chain& chain = chains_[static_cast<std::size_t>(point)];
    if (chain.count < kScanLimit) {
      for (std::int32_t t = chain.first; t >= 0; t = next_[static_cast<std::size_t>(t)]) {
        if (same(t)) return t;
      }
      return -1;
    }
    const std::int32_t found = index_.Find(hash(), [&](std::int32_t entry) {
      const Entry& e = entries_[static_cast<std::size_t>(entry)];
      return e.point == point && same(e.thing);
    });
    return found >= 0 ? entries_[static_cast<std::size_t>(found)].thing : -1;
  }

  // Appends the next thing, numbered from 0 in the order of Add, to the
  // point's chain and returns its number.  `hashOf(thing)` gives a thing's
  // hash, or nothing for a thing that equals nothing, which never enters
  // the index.
  template <class HashOf>
  std::int32_t Add(std::int32_t point, HashOf hashOf) {
    const auto thing = static_cast<std::int32_t>(next_.size());
    next_.push_back(-1);
    Chain& chain = chains_[static_cast<std::size_t>(point)];
    if (chain.last >= 0) {
      next_[static_cast<std::size_t>(chain.last)] = thing;
    } else {
      chain.first = thing;
    }
    chain.last = thing;
    if (++chain.count > kScanLimit) {
      Index(point, thing, hashOf);
    } else if (chain.count == kScanLimit) {
      // From now on this point's things are looked up in the index.
      for (std::int32_t t = chain.first; t >= 0; t = next_[static_cast<std::size_t>(t)]) Index(point, t, hashOf);
    }
    return thing;
  }

 private:
  static constexpr std::int32_t kScanLimit = 8;

  struct Chain {
    std::int32_t first = -1;  // -1: nothing yet
    std::int32_t last = -1;
    std::int32_t count = 0;
  };

  struct Entry {
    std::int32_t point;
    std::int32_t thing;
  };

  template <class HashOf>
  void Index(std::int32_t point, std::int32_t thing, HashOf& hashOf) {
    const std::optional<std::uint64_t> hash = hashOf(thing);
    if (!hash) return;
    index_.Insert(*hash, static_cast<std::int32_t>(entries_.size()));
    entries_.push_back({point, thing});
  }

  std::vector<Chain> chains_;       // per point
  std::vector<std::int32_t> next_;  // per thing; -1 ends a chain
  std::vector<Entry> entries_;
  platform::HashIndex index_;
};

}  // namespace scene
