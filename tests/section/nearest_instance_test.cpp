// The grid search must find what looking at every instance finds: the
// nearest place, the lowest id among equally near ones, for points inside
// the street, far outside it, and on instances stacked at one spot.
#include "map_export/nearest_instance.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

namespace {

using placement::Vec3;

std::optional<std::size_t> LookAtEvery(const std::vector<Vec3>& places, const std::vector<std::size_t>& ids,
                                       const Vec3& at) {
  std::optional<std::size_t> found;
  double best = 0;
  for (std::size_t i = 0; i < places.size(); ++i) {
    const double d = std::sqrt((places[i][0] - at[0]) * (places[i][0] - at[0]) +
                               (places[i][1] - at[1]) * (places[i][1] - at[1]) +
                               (places[i][2] - at[2]) * (places[i][2] - at[2]));
    if (!found || d < best || (d == best && ids[i] < *found)) {
      found = ids[i];
      best = d;
    }
  }
  return found;
}

TEST(NearestInstance, FindsWhatLookingAtEveryInstanceFinds) {
  std::mt19937 random(7);
  std::uniform_real_distribution<double> street(-500, 500), height(-5, 60), far(-3000, 3000);
  for (int layout = 0; layout < 20; ++layout) {
    std::vector<Vec3> places;
    std::vector<std::size_t> ids;
    const int count = 1 + layout * 13;
    for (int i = 0; i < count; ++i) {
      // Every fifth one stacked on the one before, as clones left in place are.
      places.push_back(i % 5 == 4 ? places.back() : Vec3{street(random), layout % 3 == 0 ? 0.0 : street(random),
                                                           height(random)});
      ids.push_back(static_cast<std::size_t>(3 * i + 1));
    }
    const mapexport::NearestInstance search(places, ids);
    for (int q = 0; q < 200; ++q) {
      const Vec3 at = q % 4 == 0 ? Vec3{far(random), far(random), height(random)}
                                 : q % 4 == 1 ? places[static_cast<std::size_t>(q) % places.size()]
                                              : Vec3{street(random), street(random), height(random)};
      ASSERT_EQ(search.Nearest(at), LookAtEvery(places, ids, at)) << "layout " << layout << " query " << q;
    }
  }
}

TEST(NearestInstance, NoInstanceNoAnswer) {
  EXPECT_FALSE(mapexport::NearestInstance({}, {}).Nearest({1, 2, 3}));
}

}  // namespace
