#include "lightwave/vertex_values.h"

#include <gtest/gtest.h>

#include <cmath>
#include <utility>
#include <vector>

namespace host {
namespace {

std::vector<float> Floats(std::optional<StoredValue> value) {
  return value ? std::vector<float>(value->begin(), value->end()) : std::vector<float>{};
}

std::vector<int> Keys(const VertexValues<int>& map) {
  std::vector<int> keys;
  map.ForEach([&](int key, StoredValue) { keys.push_back(key); });
  return keys;
}

TEST(VertexValues, FindsEveryKeyWhateverTheOrderItWasStoredIn) {
  VertexValues<int> map;
  map[7] = {7.0f, 0.5f};
  map[2] = {2.0f, 0.5f};
  map[-3] = {-3.0f};
  map[0] = {0.0f, 0.5f, 1.0f};
  EXPECT_EQ(Floats(map.Find(7)), (std::vector<float>{7.0f, 0.5f}));
  EXPECT_EQ(Floats(map.Find(2)), (std::vector<float>{2.0f, 0.5f}));
  EXPECT_EQ(Floats(map.Find(-3)), (std::vector<float>{-3.0f}));
  EXPECT_EQ(Floats(map.Find(0)), (std::vector<float>{0.0f, 0.5f, 1.0f}));
  // Keys between, below and above the stored ones, including the position
  // of a stored record whose key is another.
  for (int absent : {1, 3, 6, 8, -1, -4}) EXPECT_FALSE(map.Find(absent)) << absent;
  EXPECT_EQ(Keys(map), (std::vector<int>{-3, 0, 2, 7}));
}

TEST(VertexValues, TheLastValueStoredForAKeyWins) {
  VertexValues<int> map;
  map[1] = {1.0f, 1.0f};
  map[2] = {2.0f, 2.0f};
  map[1] = {9.0f};          // out of order: replaces, with another length
  map[2] = {8.0f, 8.0f};    // equal to the last key
  map[2] = {7.0f, 7.0f};
  EXPECT_EQ(map.size(), 2u);
  EXPECT_EQ(Floats(map.Find(1)), (std::vector<float>{9.0f}));
  EXPECT_EQ(Floats(map.Find(2)), (std::vector<float>{7.0f, 7.0f}));
  // Storing after a read sorts again.
  map[0] = {0.0f};
  EXPECT_EQ(Keys(map), (std::vector<int>{0, 1, 2}));
  EXPECT_EQ(Floats(map.Find(0)), (std::vector<float>{0.0f}));
}

// A map stored point by point from 0, every value of one length, is read
// by position; a gap, a replaced value or a value of another length must
// each end that, or reads would give another point's value.
TEST(VertexValues, APointMapStoredInOrderIsReadRightWhenTheOrderBreaks) {
  VertexValues<int> inOrder;
  for (int p = 0; p < 4; ++p) inOrder[p] = {static_cast<float>(p), 0.5f, 1.0f};
  for (int p = 0; p < 4; ++p) EXPECT_EQ(Floats(inOrder.Find(p)), (std::vector<float>{static_cast<float>(p), 0.5f, 1.0f}));
  EXPECT_FALSE(inOrder.Find(4));
  EXPECT_FALSE(inOrder.Find(-1));

  VertexValues<int> gap;
  gap[0] = {0.0f};
  gap[2] = {2.0f};
  gap[3] = {3.0f};
  EXPECT_FALSE(gap.Find(1));
  EXPECT_EQ(Floats(gap.Find(2)), (std::vector<float>{2.0f}));
  EXPECT_EQ(Floats(gap.Find(3)), (std::vector<float>{3.0f}));

  VertexValues<int> replaced;
  replaced[0] = {0.0f, 0.0f};
  replaced[1] = {1.0f, 1.0f};
  replaced[1] = {5.0f, 5.0f};
  replaced[2] = {2.0f, 2.0f};
  EXPECT_EQ(Floats(replaced.Find(1)), (std::vector<float>{5.0f, 5.0f}));
  EXPECT_EQ(Floats(replaced.Find(2)), (std::vector<float>{2.0f, 2.0f}));

  VertexValues<int> lengths;
  lengths[0] = {0.0f, 0.0f};
  lengths[1] = {1.0f};
  lengths[2] = {2.0f, 2.0f};
  EXPECT_EQ(Floats(lengths.Find(1)), (std::vector<float>{1.0f}));
  EXPECT_EQ(Floats(lengths.Find(2)), (std::vector<float>{2.0f, 2.0f}));
}

TEST(VertexValues, PointAndPolygonKeysOrderByPointThenPolygon) {
  VertexValues<std::pair<int, int>> map{{{4, 1}, {0.25f, 0.5f}}, {{1, 9}, {0.5f, 0.5f}}, {{4, 0}, {1.0f, 0.0f}}};
  EXPECT_EQ(Floats(map.Find({4, 0})), (std::vector<float>{1.0f, 0.0f}));
  EXPECT_EQ(Floats(map.Find({4, 1})), (std::vector<float>{0.25f, 0.5f}));
  EXPECT_FALSE(map.Find({1, 4}));
  EXPECT_FALSE(map.Find({9, 1}));
  std::vector<std::pair<int, int>> keys;
  map.ForEach([&](const std::pair<int, int>& key, StoredValue) { keys.push_back(key); });
  EXPECT_EQ(keys, (std::vector<std::pair<int, int>>{{1, 9}, {4, 0}, {4, 1}}));
}

TEST(VertexValues, PolygonValuesAreFoundBetweenStoresAndOnFarPoints) {
  VertexValues<std::pair<int, int>> map;
  map[{1, 0}] = {1.0f};
  map[{3, 0}] = {3.0f};
  EXPECT_FALSE(map.Find({2, 0}));
  EXPECT_FALSE(map.Find({0, 0}));
  map[{2, 5}] = {2.0f};  // a point with no value until now, below the last
  map[{3, 1}] = {3.5f};
  EXPECT_EQ(Floats(map.Find({2, 5})), (std::vector<float>{2.0f}));
  EXPECT_EQ(Floats(map.Find({3, 1})), (std::vector<float>{3.5f}));
  EXPECT_FALSE(map.Find({2, 0}));
  // Points far beyond the others, and below zero.
  map[{2000000000, 7}] = {9.0f};
  map[{-5, 2}] = {-5.0f};
  EXPECT_EQ(Floats(map.Find({2000000000, 7})), (std::vector<float>{9.0f}));
  EXPECT_EQ(Floats(map.Find({-5, 2})), (std::vector<float>{-5.0f}));
  EXPECT_EQ(Floats(map.Find({1, 0})), (std::vector<float>{1.0f}));
  EXPECT_FALSE(map.Find({1999999999, 7}));
}

TEST(VertexValues, EqualMapsHoldTheSameValuesNotTheSameHistory) {
  VertexValues<int> inOrder{{0, {0.0f}}, {1, {1.0f, 2.0f}}};
  VertexValues<int> rewritten;
  rewritten[1] = {5.0f};
  rewritten[0] = {0.0f};
  rewritten[1] = {1.0f, 2.0f};
  EXPECT_TRUE(inOrder == rewritten);
  rewritten[1] = {1.0f};  // a prefix of the other value is not equal
  EXPECT_FALSE(inOrder == rewritten);
  EXPECT_FALSE(inOrder == (VertexValues<int>{{0, {0.0f}}}));
  // A NaN equals nothing, as a float.
  const float nan = std::nanf("");
  EXPECT_FALSE((VertexValues<int>{{0, {nan}}}) == (VertexValues<int>{{0, {nan}}}));
}

}  // namespace
}  // namespace host
