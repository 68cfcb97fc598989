#include "tools/makecol/polygon_triangles.h"

#include <cmath>

namespace makecol {
namespace {

using Flat = std::array<double, 2>;

// The polygon in the plane of its two axes that its normal leans on least.
std::vector<Flat> Flatten(const std::vector<Point>& corners) {
  Point normal{};  // Newell's normal
  for (std::size_t i = 0; i < corners.size(); ++i) {
    const Point& p = corners[i];
    const Point& q = corners[(i + 1) % corners.size()];
    normal[0] += (p[1] - q[1]) * (p[2] + q[2]);
    normal[1] += (p[2] - q[2]) * (p[0] + q[0]);
    normal[2] += (p[0] - q[0]) * (p[1] + q[1]);
  }
  std::size_t drop = 0;
  for (std::size_t axis = 1; axis < 3; ++axis) {
    if (std::fabs(normal[axis]) > std::fabs(normal[drop])) drop = axis;
  }
  const std::size_t u = (drop + 1) % 3;
  const std::size_t v = (drop + 2) % 3;
  std::vector<Flat> flat;
  flat.reserve(corners.size());
  for (const Point& p : corners) flat.push_back({p[u], p[v]});
  return flat;
}

double Cross(const Flat& a, const Flat& b, const Flat& c) {
  return (b[0] - a[0]) * (c[1] - a[1]) - (b[1] - a[1]) * (c[0] - a[0]);
}

double SignedArea(const std::vector<Flat>& flat) {
  double area = 0.0;
  for (std::size_t i = 0; i < flat.size(); ++i) {
    const Flat& p = flat[i];
    const Flat& q = flat[(i + 1) % flat.size()];
    area += p[0] * q[1] - q[0] * p[1];
  }
  return area;
}

class EarClipper {
 public:
  explicit EarClipper(const std::vector<Point>& corners)
      : flat_(Flatten(corners)), turn_(SignedArea(flat_) >= 0.0 ? 1.0 : -1.0) {
    for (std::size_t i = 0; i < corners.size(); ++i) left_.push_back(i);
  }

  // Clips ears until three corners remain; false when none is found.
  bool Clip(std::vector<std::array<std::size_t, 3>>& triangles) {
    while (left_.size() > 3) {
      if (!ClipOne(triangles)) return false;
    }
    triangles.push_back({left_[0], left_[1], left_[2]});
    return true;
  }

  const std::vector<std::size_t>& left() const { return left_; }

 private:
  bool ClipOne(std::vector<std::array<std::size_t, 3>>& triangles) {
    const std::size_t n = left_.size();
    for (std::size_t i = 0; i < n; ++i) {
      const std::size_t a = left_[(i + n - 1) % n], b = left_[i], c = left_[(i + 1) % n];
      if (!IsEar(a, b, c)) continue;
      triangles.push_back({a, b, c});
      left_.erase(left_.begin() + static_cast<std::ptrdiff_t>(i));
      return true;
    }
    return false;
  }

  bool IsEar(std::size_t a, std::size_t b, std::size_t c) const {
    if (Cross(flat_[a], flat_[b], flat_[c]) * turn_ <= 0.0) return false;  // reflex or flat
    for (std::size_t p : left_) {
      if (p == a || p == b || p == c) continue;
      if (Cross(flat_[a], flat_[b], flat_[p]) * turn_ >= 0.0 && Cross(flat_[b], flat_[c], flat_[p]) * turn_ >= 0.0 &&
          Cross(flat_[c], flat_[a], flat_[p]) * turn_ >= 0.0) {
        return false;
      }
    }
    return true;
  }

  std::vector<Flat> flat_;
  double turn_;
  std::vector<std::size_t> left_;
};

void Fan(const std::vector<std::size_t>& corners, std::vector<std::array<std::size_t, 3>>& triangles) {
  for (std::size_t i = 1; i + 1 < corners.size(); ++i) triangles.push_back({corners[0], corners[i], corners[i + 1]});
}

}  // namespace

std::vector<std::array<std::size_t, 3>> TriangulatePolygon(const std::vector<Point>& corners) {
  std::vector<std::array<std::size_t, 3>> triangles;
  if (corners.size() < 3) return triangles;
  if (corners.size() == 3 || corners.size() > kMaxEarClippedCorners) {
    std::vector<std::size_t> all(corners.size());
    for (std::size_t i = 0; i < all.size(); ++i) all[i] = i;
    Fan(all, triangles);
    return triangles;
  }
  EarClipper clipper(corners);
  if (!clipper.Clip(triangles)) Fan(clipper.left(), triangles);
  return triangles;
}

}  // namespace makecol
