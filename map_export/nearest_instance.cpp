#include "map_export/nearest_instance.h"

#include <algorithm>
#include <cmath>

namespace mapexport {
namespace {

double Distance(const placement::Vec3& a, const placement::Vec3& b) {
  return std::sqrt((a[0] - b[0]) * (a[0] - b[0]) + (a[1] - b[1]) * (a[1] - b[1]) + (a[2] - b[2]) * (a[2] - b[2]));
}

}  // namespace

NearestInstance::NearestInstance(std::vector<placement::Vec3> places, std::vector<std::size_t> ids)
    : places_(std::move(places)), ids_(std::move(ids)) {
  if (places_.empty()) return;
  double maxX = places_[0][0], maxY = places_[0][1];
  originX_ = maxX;
  originY_ = maxY;
  for (const placement::Vec3& p : places_) {
    originX_ = std::min(originX_, p[0]);
    originY_ = std::min(originY_, p[1]);
    maxX = std::max(maxX, p[0]);
    maxY = std::max(maxY, p[1]);
  }
  // About one place a cell when they spread evenly.
  const long side = std::max(1L, static_cast<long>(std::ceil(std::sqrt(static_cast<double>(places_.size())))));
  cell_ = std::max({maxX - originX_, maxY - originY_, 1e-3}) / static_cast<double>(side);
  columns_ = std::min(side, CellOf(maxX, originX_) + 1);
  rows_ = std::min(side, CellOf(maxY, originY_) + 1);
  cells_.resize(static_cast<std::size_t>(columns_ * rows_));
  for (std::size_t i = 0; i < places_.size(); ++i) {
    const long x = std::min(CellOf(places_[i][0], originX_), columns_ - 1);
    const long y = std::min(CellOf(places_[i][1], originY_), rows_ - 1);
    cells_[static_cast<std::size_t>(y * columns_ + x)].push_back(i);
  }
}

long NearestInstance::CellOf(double coordinate, double origin) const {
  return static_cast<long>(std::floor((coordinate - origin) / cell_));
}

std::optional<std::size_t> NearestInstance::Nearest(const placement::Vec3& at) const {
  std::optional<std::size_t> found;
  if (places_.empty()) return found;
  // Cells far outside the grid are clamped to it: the grid's own cells are
  // then searched ring by ring outward from the one nearest the point.
  const long cx = std::clamp(CellOf(at[0], originX_), 0L, columns_ - 1);
  const long cy = std::clamp(CellOf(at[1], originY_), 0L, rows_ - 1);
  const double outside = std::hypot(std::max({originX_ - at[0], at[0] - (originX_ + cell_ * static_cast<double>(columns_)), 0.0}),
                                    std::max({originY_ - at[1], at[1] - (originY_ + cell_ * static_cast<double>(rows_)), 0.0}));
  double best = 0;
  const long lastRing = std::max(columns_, rows_);
  for (long ring = 0; ring <= lastRing; ++ring) {
    // Every place on this ring or beyond is at least this far away: one
    // of its axes is that many whole cells off, and every place stands
    // inside the grid.
    if (found && std::max(outside, static_cast<double>(ring - 1) * cell_) > best) break;
    SearchRing(cx, cy, ring, at, best, found);
  }
  return found;
}

void NearestInstance::SearchRing(long cx, long cy, long ring, const placement::Vec3& at, double& best,
                                 std::optional<std::size_t>& found) const {
  for (long y = cy - ring; y <= cy + ring; ++y) {
    const bool edgeRow = y == cy - ring || y == cy + ring;
    for (long x = cx - ring; x <= cx + ring; x += (edgeRow || ring == 0) ? 1 : 2 * ring) {
      SearchCell(x, y, at, best, found);
    }
  }
}

void NearestInstance::SearchCell(long x, long y, const placement::Vec3& at, double& best,
                                 std::optional<std::size_t>& found) const {
  if (x < 0 || y < 0 || x >= columns_ || y >= rows_) return;
  for (std::size_t i : cells_[static_cast<std::size_t>(y * columns_ + x)]) {
    const double d = Distance(places_[i], at);
    if (!found || d < best || (d == best && ids_[i] < *found)) {
      found = ids_[i];
      best = d;
    }
  }
}

}  // namespace mapexport
