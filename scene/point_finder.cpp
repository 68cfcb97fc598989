#include "scene/point_finder.h"

#include <cstdint>

namespace scene {
namespace {

std::uintptr_t Address(LWPntID id) { return reinterpret_cast<std::uintptr_t>(id); }

std::uint64_t IdHash(LWPntID id) { return platform::HashCombine(0, static_cast<std::uint64_t>(Address(id))); }

}  // namespace

PointFinder::PointFinder(const std::vector<MeshPoint>& points) : points_(points), stride_(FixedStride(points)) {
  if (stride_ > 0) {
    first_ = Address(points.front().pointId);
    return;
  }
  index_.Reserve(points.size());
  for (std::size_t i = 0; i < points.size(); ++i) {
    if (Find(points[i].pointId) < 0) index_.Insert(IdHash(points[i].pointId), static_cast<std::int32_t>(i));
  }
}

std::int32_t PointFinder::Find(LWPntID id) const {
  if (stride_ > 0) return FindByStride(id);
  return index_.Find(IdHash(id), [&](std::int32_t entry) { return points_[static_cast<std::size_t>(entry)].pointId == id; });
}

// The distance between consecutive identifiers when every one of them is
// the first plus a multiple of it, in scan order; 0 otherwise.
std::uintptr_t PointFinder::FixedStride(const std::vector<MeshPoint>& points) {
  if (points.size() < 2) return 0;
  const std::uintptr_t first = Address(points[0].pointId);
  const std::uintptr_t second = Address(points[1].pointId);
  if (second <= first) return 0;
  const std::uintptr_t stride = second - first;
  // The last identifier must not lie beyond the end of the address space.
  if ((points.size() - 1) > (UINTPTR_MAX - first) / stride) return 0;
  std::uintptr_t expected = first;
  for (const MeshPoint& point : points) {
    if (Address(point.pointId) != expected) return 0;
    expected += stride;
  }
  return stride;
}

std::int32_t PointFinder::FindByStride(LWPntID id) const {
  const std::uintptr_t address = Address(id);
  if (address < first_ || (address - first_) % stride_ != 0) return -1;
  const std::uintptr_t index = (address - first_) / stride_;
  return index < points_.size() ? static_cast<std::int32_t>(index) : -1;
}

}  // namespace scene
