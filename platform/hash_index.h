// An open-addressing table of entry numbers, for lookups that must give the
// same first match as a scan from the start of a list.  The table does not
// know the keys: the caller hashes its key, keeps the entries, and tells a
// match by comparing its key with an entry.  An entry is only inserted when
// no equal one is present, so at most one entry matches any key, and it is
// the earliest entry of the list that equals the key.
#pragma once

#include <cstdint>
#include <cstring>
#include <vector>

namespace platform {

// Mixes a value into a running hash (the splitmix64 finaliser on the sum).
inline std::uint64_t HashCombine(std::uint64_t hash, std::uint64_t value) {
  std::uint64_t x = hash + 0x9E3779B97F4A7C15ull + value;
  x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ull;
  x = (x ^ (x >> 27)) * 0x94D049BB133111EBull;
  return x ^ (x >> 31);
}

// The bits of a float for hashing, with -0.0 folded onto 0.0 so that values
// that compare equal hash equally.  NaN compares equal to nothing and must
// never be looked up.
inline std::uint64_t FloatHashBits(float value) {
  if (value == 0.0f) value = 0.0f;
  std::uint32_t bits = 0;
  std::memcpy(&bits, &value, sizeof bits);
  return bits;
}

class HashIndex {
 public:
  // The entry inserted with `hash` for which `matches(entry)` holds, or -1.
  template <class Matches>
  std::int32_t Find(std::uint64_t hash, Matches matches) const {
    if (slots_.empty()) return -1;
    const auto tag = static_cast<std::uint32_t>(hash);
    for (std::size_t i = tag & mask_;; i = (i + 1) & mask_) {
      const Slot& slot = slots_[i];
      if (slot.entry < 0) return -1;
      if (slot.tag == tag && matches(slot.entry)) return slot.entry;
    }
  }

  // Records `entry`; the caller has made sure that no equal entry exists.
  void Insert(std::uint64_t hash, std::int32_t entry);

  void Reserve(std::size_t entries);

 private:
  struct Slot {
    std::uint32_t tag = 0;
    std::int32_t entry = -1;
  };
  void Place(Slot slot);
  void Grow(std::size_t capacity);

  std::vector<Slot> slots_;
  std::size_t mask_ = 0;
  std::size_t count_ = 0;
};

}  // namespace platform
