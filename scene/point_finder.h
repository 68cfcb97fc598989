// Finding the scanned point that a polygon vertex names.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/hash_index.h"
#include "scene/mesh_object.h"

namespace scene {

// Points by host identifier, with the result of a scan from the start of
// the list: the first point scanned with an identifier wins.  A host that
// keeps its points in one array hands out identifiers at a fixed stride in
// scan order; those are found by arithmetic, without touching a table.
// Any other identifiers go through a hash index.
class PointFinder {
 public:
  // `points` must outlive the finder and keep its contents.
  explicit PointFinder(const std::vector<MeshPoint>& points);

  // The point's position in the list, or -1 for an identifier not scanned.
  std::int32_t Find(LWPntID id) const;

 private:
  static std::uintptr_t FixedStride(const std::vector<MeshPoint>& points);
  std::int32_t FindByStride(LWPntID id) const;

  const std::vector<MeshPoint>& points_;
  std::uintptr_t first_ = 0;
  std::uintptr_t stride_ = 0;  // 0: identifiers without a fixed stride
  platform::HashIndex index_;
};

}  // namespace scene
