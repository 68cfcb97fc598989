#include "placement/lightwave_placement.h"

#include <cmath>

namespace placement {

Matrix3 Multiply(const Matrix3& a, const Matrix3& b) {
  Matrix3 product{};
  for (std::size_t r = 0; r < 3; ++r) {
    for (std::size_t c = 0; c < 3; ++c) {
      product[r][c] = a[r][0] * b[0][c] + a[r][1] * b[1][c] + a[r][2] * b[2][c];
    }
  }
  return product;
}

Vec3 Apply(const Matrix3& m, const Vec3& v) {
  return {m[0][0] * v[0] + m[0][1] * v[1] + m[0][2] * v[2], m[1][0] * v[0] + m[1][1] * v[1] + m[1][2] * v[2],
          m[2][0] * v[0] + m[2][1] * v[1] + m[2][2] * v[2]};
}

Vec3 Apply(const Affine& transform, const Vec3& point) {
  const Vec3 turned = Apply(transform.linear, point);
  return {turned[0] + transform.translation[0], turned[1] + transform.translation[1],
          turned[2] + transform.translation[2]};
}

Affine Compose(const Affine& outer, const Affine& inner) {
  return {Multiply(outer.linear, inner.linear), Apply(outer, inner.translation)};
}

Affine Translation(const Vec3& offset) { return {Matrix3{{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}}, offset}; }

Matrix3 Rotation(const Vec3& headingPitchBank) {
  const double ch = std::cos(headingPitchBank[0]), sh = std::sin(headingPitchBank[0]);
  const double cp = std::cos(headingPitchBank[1]), sp = std::sin(headingPitchBank[1]);
  const double cb = std::cos(headingPitchBank[2]), sb = std::sin(headingPitchBank[2]);
  const Matrix3 heading{{{ch, 0, sh}, {0, 1, 0}, {-sh, 0, ch}}};
  const Matrix3 pitch{{{1, 0, 0}, {0, cp, -sp}, {0, sp, cp}}};
  const Matrix3 bank{{{cb, -sb, 0}, {sb, cb, 0}, {0, 0, 1}}};
  return Multiply(heading, Multiply(pitch, bank));
}

Matrix3 TurnAndScaling(const ItemMotion& motion) {
  Matrix3 turn = Multiply(Rotation(motion.rotation), Rotation(motion.pivotRotation));
  for (Vec3& row : turn) {
    for (std::size_t c = 0; c < 3; ++c) row[c] *= motion.scaling[c];
  }
  return turn;
}

Affine ItemToParent(const ItemMotion& motion) {
  const Matrix3 linear = TurnAndScaling(motion);
  const Vec3 pivotMoved = Apply(linear, motion.pivot);
  return {linear, {motion.position[0] - pivotMoved[0], motion.position[1] - pivotMoved[1],
                   motion.position[2] - pivotMoved[2]}};
}

Vec3 ToGameAxes(const Vec3& layout) { return {-layout[0], -layout[2], layout[1]}; }

Vec3 FromGameAxes(const Vec3& game) { return {-game[0], game[2], -game[1]}; }

Matrix3 ToGameAxes(const Matrix3& layout) {
  // Columns are images of Layout's axes: map them, then map each row index.
  Matrix3 game{};
  for (std::size_t c = 0; c < 3; ++c) {
    Vec3 axis{0, 0, 0};
    axis[c] = 1;
    const Vec3 image = ToGameAxes(Apply(layout, FromGameAxes(axis)));
    for (std::size_t r = 0; r < 3; ++r) game[r][c] = image[r];
  }
  return game;
}

Matrix3 FromGameAxes(const Matrix3& game) {
  Matrix3 layout{};
  for (std::size_t c = 0; c < 3; ++c) {
    Vec3 axis{0, 0, 0};
    axis[c] = 1;
    const Vec3 image = FromGameAxes(Apply(game, ToGameAxes(axis)));
    for (std::size_t r = 0; r < 3; ++r) layout[r][c] = image[r];
  }
  return layout;
}

// R = Ry(h) Rx(p) Rz(b) has row 1 (cos p sin b, cos p cos b, -sin p),
// column 2 (sin h cos p, -sin p, cos h cos p); with cos p = 0 (and b = 0)
// its column 0 is (cos h, 0, -sin h).
Vec3 HeadingPitchBank(const Matrix3& r) {
  const double cosPitch = std::hypot(r[1][0], r[1][1]);
  const double pitch = std::atan2(-r[1][2], cosPitch);
  constexpr double kGimbal = 1e-9;
  if (cosPitch < kGimbal) return {std::atan2(-r[2][0], r[0][0]), pitch, 0.0};
  return {std::atan2(r[0][2], r[2][2]), pitch, std::atan2(r[1][0], r[1][1])};
}

TurnAndScale SplitTurnAndScaling(const Matrix3& linear) {
  TurnAndScale split;
  Matrix3 rotation = linear;
  const double determinant = linear[0][0] * (linear[1][1] * linear[2][2] - linear[1][2] * linear[2][1]) -
                             linear[0][1] * (linear[1][0] * linear[2][2] - linear[1][2] * linear[2][0]) +
                             linear[0][2] * (linear[1][0] * linear[2][1] - linear[1][1] * linear[2][0]);
  for (std::size_t c = 0; c < 3; ++c) {
    double length = std::sqrt(linear[0][c] * linear[0][c] + linear[1][c] * linear[1][c] + linear[2][c] * linear[2][c]);
    if (c == 0 && determinant < 0) length = -length;
    split.scaling[c] = length;
    for (std::size_t r = 0; r < 3; ++r) rotation[r][c] = length != 0 ? linear[r][c] / length : (r == c ? 1 : 0);
  }
  split.rotation = HeadingPitchBank(rotation);
  return split;
}

Affine ToGameAxes(const Affine& layout) { return {ToGameAxes(layout.linear), ToGameAxes(layout.translation)}; }

}  // namespace placement
