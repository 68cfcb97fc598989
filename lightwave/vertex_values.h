// The stored values of one vertex map, keyed by point (VMAP) or by point and
// polygon (VMAD), held in two flat arrays: one record per key in key order,
// and every value's floats one after another.  A mesh of a million points
// then costs two allocations instead of two per point, and a lookup is a
// search in one array instead of a walk through a tree.
//
// Values are usually stored in key order (an object file lists its points
// in order), which only appends.  A key out of order marks the records
// unsorted; the first read afterwards sorts them once, the last value
// stored for a key winning, so that no order of writes costs more than a
// sort.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <limits>
#include <optional>
#include <stdexcept>
#include <type_traits>
#include <utility>
#include <vector>

namespace host {

template <class T>
struct IsPointAndPolygon : std::false_type {};
template <>
struct IsPointAndPolygon<std::pair<int, int>> : std::true_type {};

// The floats of one stored value; valid until the map next changes.
class StoredValue {
 public:
  StoredValue(const float* data, std::size_t size) : data_(data), size_(size) {}
  const float* begin() const { return data_; }
  const float* end() const { return data_ + size_; }
  std::size_t size() const { return size_; }
  float operator[](std::size_t i) const { return data_[i]; }

  friend bool operator==(StoredValue a, StoredValue b) { return std::equal(a.begin(), a.end(), b.begin(), b.end()); }

 private:
  const float* data_;
  std::size_t size_;
};

template <class Key>
class VertexValues {
 public:
  VertexValues() = default;
  VertexValues(std::initializer_list<std::pair<Key, std::vector<float>>> entries) {
    for (const auto& [key, value] : entries) Set(key, value.data(), value.size());
  }

  // Stores `count` floats as the value of `key`, replacing an earlier one.
  void Set(const Key& key, const float* values, std::size_t count) {
    if (pool_.size() + count > std::numeric_limits<std::uint32_t>::max()) {
      throw std::length_error("a vertex map holds more values than one map can address");
    }
    if (!records_.empty() && !(records_.back().key < key)) sorted_ = false;
    marked_ = false;
    if constexpr (std::is_integral_v<Key>) {
      if (records_.empty()) denseCount_ = count;
      dense_ = dense_ && static_cast<std::size_t>(key) == records_.size() && key >= 0 && count == denseCount_;
    }
    records_.push_back({key, static_cast<std::uint32_t>(pool_.size()), static_cast<std::uint32_t>(count)});
    pool_.insert(pool_.end(), values, values + count);
  }

  // Room for `values` more values of `floats` floats in all, so that a
  // reader that knows about how many follow grows the tables once.  Asked
  // again and again for a little more, the tables still grow by doubling.
  void Reserve(std::size_t values, std::size_t floats) {
    Grow(records_, values);
    Grow(pool_, floats);
  }

  // `map[key] = {u, v}` stores a value, as for a std::map.
  class Setter {
   public:
    Setter(VertexValues& map, const Key& key) : map_(map), key_(key) {}
    Setter& operator=(const std::vector<float>& value) {
      map_.Set(key_, value.data(), value.size());
      return *this;
    }
    Setter& operator=(std::initializer_list<float> value) {
      map_.Set(key_, value.begin(), value.size());
      return *this;
    }

   private:
    VertexValues& map_;
    Key key_;
  };
  Setter operator[](const Key& key) { return Setter(*this, key); }

  // The common cases are answered here, in few enough steps to be inlined
  // into a caller that reads a value for every corner; the rest by Search.
  std::optional<StoredValue> Find(const Key& key) const {
    // An empty map answers at once: a mesh without per-polygon values is
    // still asked for them at every corner.
    if (records_.empty()) return std::nullopt;
    if constexpr (std::is_integral_v<Key>) {
      // An object file's point map holds every point in order (dense_): the
      // value is found without reading its record, one memory access less.
      if (dense_ && key >= 0 && static_cast<std::size_t>(key) < records_.size()) {
        return StoredValue(pool_.data() + static_cast<std::size_t>(key) * denseCount_, denseCount_);
      }
    }
    // Per-polygon values are few and sit on few points: most points are
    // known to have none without a search.
    if constexpr (IsPointAndPolygon<Key>::value) {
      if (sorted_ && marked_ && MarkedWithoutValues(key.first)) return std::nullopt;
    }
    return Search(key);
  }

  bool empty() const { return records_.empty(); }
  std::size_t size() const {
    Sort();
    return records_.size();
  }

  // Calls visit(key, value) for every key, in key order.
  template <class Visit>
  void ForEach(Visit visit) const {
    Sort();
    for (const Record& record : records_) visit(record.key, ValueOf(record));
  }

  friend bool operator==(const VertexValues& a, const VertexValues& b) {
    a.Sort();
    b.Sort();
    return std::equal(a.records_.begin(), a.records_.end(), b.records_.begin(), b.records_.end(),
                      [&](const Record& x, const Record& y) {
                        return x.key == y.key && a.ValueOf(x) == b.ValueOf(y);
                      });
  }
  friend bool operator!=(const VertexValues& a, const VertexValues& b) { return !(a == b); }

 private:
  struct Record {
    Key key;
    std::uint32_t first;  // into pool_
    std::uint32_t count;
  };

  // Whether the marks made by MarkPoints tell that `point` has no value.
  bool MarkedWithoutValues(int point) const {
    return point >= 0 && static_cast<std::size_t>(point) < hasPoint_.size() &&
           !hasPoint_[static_cast<std::size_t>(point)];
  }

  // Out of line, so that Find stays small.
  [[gnu::noinline]] std::optional<StoredValue> Search(const Key& key) const {
    Sort();
    // Record k is usually point k's, even when some point lacks a value.
    if constexpr (std::is_integral_v<Key>) {
      if (key >= 0 && static_cast<std::size_t>(key) < records_.size() &&
          records_[static_cast<std::size_t>(key)].key == key) {
        return ValueOf(records_[static_cast<std::size_t>(key)]);
      }
    }
    if constexpr (IsPointAndPolygon<Key>::value) {
      if (MarkedWithoutValues(key.first)) return std::nullopt;
    }
    const auto found = std::lower_bound(records_.begin(), records_.end(), key,
                                        [](const Record& record, const Key& k) { return record.key < k; });
    if (found == records_.end() || found->key != key) return std::nullopt;
    return ValueOf(*found);
  }

  template <class T>
  static void Grow(std::vector<T>& list, std::size_t more) {
    const std::size_t needed = list.size() + more;
    if (needed > list.capacity()) list.reserve(std::max(needed, 2 * list.capacity()));
  }

  StoredValue ValueOf(const Record& record) const { return StoredValue(pool_.data() + record.first, record.count); }

  // Sorting changes only the order of the records, not what the map holds,
  // so a const read may do it, and mark the points with values as it goes.
  void Sort() const {
    if (!sorted_) SortRecords();
    sorted_ = true;
    if constexpr (IsPointAndPolygon<Key>::value) {
      if (!marked_) MarkPoints();
    }
    marked_ = true;
  }

  // The floats of replaced values stay in the pool: at most what was
  // stored.
  void SortRecords() const {
    std::stable_sort(records_.begin(), records_.end(),
                     [](const Record& x, const Record& y) { return x.key < y.key; });
    // Of records with one key, keep the last stored.
    std::size_t kept = 0;
    for (std::size_t i = 0; i < records_.size(); ++i) {
      if (i + 1 < records_.size() && records_[i + 1].key == records_[i].key) continue;
      records_[kept++] = records_[i];
    }
    records_.resize(kept);
  }

  // Which points have a value, over the points from 0 to the largest with
  // one; left empty (every point searched) when that range is much larger
  // than the records, so that it never costs more than the records
  // themselves and 8 KiB.  Seams on one point in 32, as a colour map may
  // have, are marked: searching for each of the other points would cost
  // more than reading the value.
  void MarkPoints() const {
    hasPoint_.clear();
    int largest = -1;
    for (const Record& record : records_) largest = std::max(largest, record.key.first);
    const auto range = static_cast<std::size_t>(largest) + 1;
    if (largest < 0 || range > 8 * sizeof(Record) * records_.size() + 65536) return;
    hasPoint_.assign(range, false);
    for (const Record& record : records_) {
      if (record.key.first >= 0) hasPoint_[static_cast<std::size_t>(record.key.first)] = true;
    }
  }

  mutable std::vector<Record> records_;
  // Point keys only: record k holds point k, and every value has the
  // same count, so that value k starts at pool_[k * denseCount_].
  bool dense_ = true;
  std::size_t denseCount_ = 0;
  mutable bool sorted_ = true;
  mutable bool marked_ = true;  // hasPoint_ is up to date
  mutable std::vector<bool> hasPoint_;  // point and polygon keys only
  std::vector<float> pool_;
};

}  // namespace host
