#include "scene/triangulate.h"

#include <array>
#include <cmath>
#include <cstddef>

namespace scene {
namespace {

using Point2 = PolygonTriangulator::Point2;

// Twice the signed area of (a, b, c): positive when they turn left.
double Turn(const Point2& a, const Point2& b, const Point2& c) {
  return (b.u - a.u) * (c.v - a.v) - (b.v - a.v) * (c.u - a.u);
}

bool SamePlace(const Point2& a, const Point2& b) { return a.u == b.u && a.v == b.v; }

// Projects the outline onto the coordinate plane most nearly parallel to its
// best-fit plane (whose normal is Newell's), mirrored where needed so that
// the outline runs counter-clockwise.  False when the outline has no area.
bool ProjectCounterClockwise(const std::vector<platform::Vec3f>& vertices,
                             std::vector<Point2>& projected) {
  const std::size_t n = vertices.size();
  // In double precision, converted where used: no copy of the outline.
  auto exact = [&vertices](std::size_t i) {
    const platform::Vec3f& v = vertices[i];
    return std::array<double, 3>{static_cast<double>(v.x), static_cast<double>(v.y),
                                 static_cast<double>(v.z)};
  };
  double nx = 0.0, ny = 0.0, nz = 0.0;
  for (std::size_t i = 0; i < n; ++i) {
    const auto [ax, ay, az] = exact(i);
    const auto [bx, by, bz] = exact((i + 1) % n);
    nx += (ay - by) * (az + bz);
    ny += (az - bz) * (ax + bx);
    nz += (ax - bx) * (ay + by);
  }
  const double spanX = std::fabs(nx), spanY = std::fabs(ny), spanZ = std::fabs(nz);
  if (!(spanX + spanY + spanZ > 0.0)) return false;  // also false for NaN positions

  double facing = 0.0;
  projected.resize(n);
  for (std::size_t i = 0; i < n; ++i) {
    const auto [x, y, z] = exact(i);
    if (spanZ >= spanX && spanZ >= spanY) {
      projected[i] = {x, y};
      facing = nz;
    } else if (spanX >= spanY) {
      projected[i] = {y, z};
      facing = nx;
    } else {
      projected[i] = {z, x};
      facing = ny;
    }
  }
  if (facing < 0.0) {
    for (Point2& p : projected) p.u = -p.u;
  }
  return true;
}

bool IsConvex(const std::vector<Point2>& outline) {
  const std::size_t n = outline.size();
  for (std::size_t i = 0; i < n; ++i) {
    if (Turn(outline[(i + n - 1) % n], outline[i], outline[(i + 1) % n]) < 0.0) return false;
  }
  return true;
}

void AppendFan(std::size_t n, std::vector<std::array<std::int32_t, 3>>& triangles) {
  for (std::size_t i = 1; i + 1 < n; ++i) {
    triangles.push_back({0, static_cast<std::int32_t>(i), static_cast<std::int32_t>(i + 1)});
  }
}

// Inside or on the border of the counter-clockwise triangle (a, b, c), not
// counting a point that sits exactly on one of its corners (a polygon that
// visits a point twice).
bool Covers(const Point2& a, const Point2& b, const Point2& c, const Point2& p) {
  if (SamePlace(p, a) || SamePlace(p, b) || SamePlace(p, c)) return false;
  return Turn(a, b, p) >= 0.0 && Turn(b, c, p) >= 0.0 && Turn(c, a, p) >= 0.0;
}

class EarClipper {
 public:
  // `remaining` is the clipper's working list, emptied and refilled here.
  EarClipper(const std::vector<Point2>& outline, std::vector<std::int32_t>& remaining)
      : outline_(outline), remaining_(remaining) {
    remaining_.clear();
    for (std::size_t i = 0; i < outline.size(); ++i) remaining_.push_back(static_cast<std::int32_t>(i));
  }

  void Run(std::vector<std::array<std::int32_t, 3>>& triangles) {
    std::size_t at = 0;
    std::size_t misses = 0;
    while (remaining_.size() > 3) {
      at %= remaining_.size();
      // A full round without an ear only happens on outlines that cross
      // themselves; cutting anyway still gives n - 2 triangles.
      if (IsEar(at) || misses == remaining_.size()) {
        Cut(at, triangles);
        at = at == 0 ? remaining_.size() - 1 : at - 1;
        misses = 0;
      } else {
        ++at;
        ++misses;
      }
    }
    triangles.push_back({remaining_[0], remaining_[1], remaining_[2]});
  }

 private:
  std::size_t Before(std::size_t at) const { return (at + remaining_.size() - 1) % remaining_.size(); }
  std::size_t After(std::size_t at) const { return (at + 1) % remaining_.size(); }
  const Point2& At(std::size_t at) const { return outline_[static_cast<std::size_t>(remaining_[at])]; }

  bool IsEar(std::size_t at) const {
    const std::size_t before = Before(at), after = After(at);
    const Point2 &a = At(before), &b = At(at), &c = At(after);
    if (Turn(a, b, c) <= 0.0) return false;
    for (std::size_t i = 0; i < remaining_.size(); ++i) {
      if (i == before || i == at || i == after) continue;
      if (Covers(a, b, c, At(i))) return false;
    }
    return true;
  }

  void Cut(std::size_t at, std::vector<std::array<std::int32_t, 3>>& triangles) {
    triangles.push_back({remaining_[Before(at)], remaining_[at], remaining_[After(at)]});
    remaining_.erase(remaining_.begin() + static_cast<std::ptrdiff_t>(at));
  }

  const std::vector<Point2>& outline_;
  std::vector<std::int32_t>& remaining_;
};

}  // namespace

void PolygonTriangulator::Triangulate(const std::vector<platform::Vec3f>& vertices,
                                      std::vector<std::array<std::int32_t, 3>>& triangles) {
  const std::size_t n = vertices.size();
  if (n < 3) return;
  if (n == 3 || !ProjectCounterClockwise(vertices, outline_) || IsConvex(outline_)) {
    AppendFan(n, triangles);
    return;
  }
  EarClipper(outline_, remaining_).Run(triangles);
}

}  // namespace scene
