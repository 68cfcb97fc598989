#include "platform/hash_index.h"

#include <utility>

namespace platform {

void HashIndex::Insert(std::uint64_t hash, std::int32_t entry) {
  // Kept at most half full, so that probe runs stay short.
  if ((count_ + 1) * 2 > slots_.size()) Grow(slots_.empty() ? 16 : slots_.size() * 2);
  Place(Slot{static_cast<std::uint32_t>(hash), entry});
  ++count_;
}

void HashIndex::Reserve(std::size_t entries) {
  std::size_t capacity = 16;
  while (capacity < entries * 2) capacity *= 2;
  if (capacity > slots_.size()) Grow(capacity);
}

void HashIndex::Place(Slot slot) {
  std::size_t i = slot.tag & mask_;
  while (slots_[i].entry >= 0) i = (i + 1) & mask_;
  slots_[i] = slot;
}

void HashIndex::Grow(std::size_t capacity) {
  std::vector<Slot> old(capacity);
  std::swap(old, slots_);
  mask_ = capacity - 1;
  for (const Slot& slot : old) {
    if (slot.entry >= 0) Place(slot);
  }
}

}  // namespace platform
