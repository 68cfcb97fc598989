#include "scene/point_finder.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace scene {
namespace {

LWPntID Id(std::uintptr_t address) { return reinterpret_cast<LWPntID>(address); }

std::vector<MeshPoint> PointsWithIds(const std::vector<std::uintptr_t>& addresses) {
  std::vector<MeshPoint> points(addresses.size());
  for (std::size_t i = 0; i < addresses.size(); ++i) {
    points[i].pointId = Id(addresses[i]);
  }
  return points;
}

TEST(PointFinder, IdentifiersAtAFixedStrideAreFoundAndNothingBetweenThem) {
  std::vector<std::uintptr_t> addresses;
  for (std::uintptr_t i = 0; i < 1000; ++i) addresses.push_back(0x10000 + 48 * i);
  const std::vector<MeshPoint> points = PointsWithIds(addresses);
  const PointFinder finder(points);
  for (std::size_t i = 0; i < addresses.size(); ++i) EXPECT_EQ(finder.Find(Id(addresses[i])), static_cast<std::int32_t>(i));
  for (std::uintptr_t stray : {0x10000u - 48u, 0x10000u + 1u, 0x10000u + 47u, 0x10000u + 48u * 1000u, 0u}) {
    EXPECT_EQ(finder.Find(Id(stray)), -1) << stray;
  }
}

TEST(PointFinder, OtherIdentifiersGiveTheFirstPointScannedWithThem) {
  // Out of order, with one identifier scanned twice and a stride that
  // holds only for the first few.
  const std::vector<MeshPoint> points = PointsWithIds({0x100, 0x110, 0x120, 0x500, 0x130, 0x120, 0x90});
  const PointFinder finder(points);
  EXPECT_EQ(finder.Find(Id(0x120)), 2);
  EXPECT_EQ(finder.Find(Id(0x500)), 3);
  EXPECT_EQ(finder.Find(Id(0x90)), 6);
  EXPECT_EQ(finder.Find(Id(0x140)), -1);

  const std::vector<MeshPoint> one = PointsWithIds({0x40});
  EXPECT_EQ(PointFinder(one).Find(Id(0x40)), 0);
  EXPECT_EQ(PointFinder(one).Find(Id(0x41)), -1);
  const std::vector<MeshPoint> none;
  EXPECT_EQ(PointFinder(none).Find(Id(0x40)), -1);
}

}  // namespace
}  // namespace scene
