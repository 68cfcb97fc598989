// The nearest of a model's instances to a point, found through a grid on
// the ground plane, so that linking every LOD instance costs about one
// look at the instances near it rather than at all of them.
#pragma once

#include <cstddef>
#include <optional>
#include <vector>

#include "placement/lightwave_placement.h"

namespace mapexport {

class NearestInstance {
 public:
  // `places[i]` is where instance `ids[i]` stands, in the game's axes (z up).
  NearestInstance(std::vector<placement::Vec3> places, std::vector<std::size_t> ids);

  // The id of the place nearest to `at`, the lowest id among equally near
  // ones; nothing when there is no place.
  std::optional<std::size_t> Nearest(const placement::Vec3& at) const;

 private:
  long CellOf(double coordinate, double origin) const;
  // Looks at the cells on the square ring `ring` cells around (cx, cy).
  void SearchRing(long cx, long cy, long ring, const placement::Vec3& at, double& best,
                  std::optional<std::size_t>& found) const;
  void SearchCell(long x, long y, const placement::Vec3& at, double& best, std::optional<std::size_t>& found) const;

  std::vector<placement::Vec3> places_;
  std::vector<std::size_t> ids_;
  double originX_ = 0, originY_ = 0, cell_ = 1;
  long columns_ = 1, rows_ = 1;
  std::vector<std::vector<std::size_t>> cells_;  // indices into places_, row by row
};

}  // namespace mapexport
