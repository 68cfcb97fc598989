#include "section/instance_rotation.h"

#include <cmath>

#include "section/section_limits.h"

namespace section {
namespace {

// A tilt smaller than this is rounding, not a tilt the user made.
constexpr double kNoTilt = 1e-6;

double Determinant(const placement::Matrix3& m) {
  return m[0][0] * (m[1][1] * m[2][2] - m[1][2] * m[2][1]) - m[0][1] * (m[1][0] * m[2][2] - m[1][2] * m[2][0]) +
         m[0][2] * (m[1][0] * m[2][1] - m[1][1] * m[2][0]);
}

}  // namespace

// Takes the largest of w, x, y, z from the trace and the diagonal first, so
// that the division never goes by a small number.
Quaternion QuaternionOf(const placement::Matrix3& m) {
  Quaternion q;
  const double trace = m[0][0] + m[1][1] + m[2][2];
  if (trace > 0) {
    const double s = std::sqrt(trace + 1.0) * 2;
    q = {(m[2][1] - m[1][2]) / s, (m[0][2] - m[2][0]) / s, (m[1][0] - m[0][1]) / s, 0.25 * s};
  } else if (m[0][0] > m[1][1] && m[0][0] > m[2][2]) {
    const double s = std::sqrt(1.0 + m[0][0] - m[1][1] - m[2][2]) * 2;
    q = {0.25 * s, (m[0][1] + m[1][0]) / s, (m[0][2] + m[2][0]) / s, (m[2][1] - m[1][2]) / s};
  } else if (m[1][1] > m[2][2]) {
    const double s = std::sqrt(1.0 + m[1][1] - m[0][0] - m[2][2]) * 2;
    q = {(m[0][1] + m[1][0]) / s, 0.25 * s, (m[1][2] + m[2][1]) / s, (m[0][2] - m[2][0]) / s};
  } else {
    const double s = std::sqrt(1.0 + m[2][2] - m[0][0] - m[1][1]) * 2;
    q = {(m[0][2] + m[2][0]) / s, (m[1][2] + m[2][1]) / s, 0.25 * s, (m[1][0] - m[0][1]) / s};
  }
  const double length = std::sqrt(q.x * q.x + q.y * q.y + q.z * q.z + q.w * q.w);
  const double sign = q.w < 0 ? -1.0 : 1.0;
  return {sign * q.x / length, sign * q.y / length, sign * q.z / length, sign * q.w / length};
}

Quaternion StoredRotation(const placement::Matrix3& rotation) {
  const Quaternion q = QuaternionOf(rotation);
  return {-q.x, -q.y, -q.z, q.w};
}

bool GameDropsTilt(const Quaternion& stored) {
  const double x = std::fabs(stored.x);
  const double y = std::fabs(stored.y);
  return x <= kTiltKeptAbove && y <= kTiltKeptAbove && (x > kNoTilt || y > kNoTilt);
}

bool IsRotation(const placement::Matrix3& m, double tolerance) {
  for (std::size_t r = 0; r < 3; ++r) {
    for (std::size_t c = 0; c < 3; ++c) {
      const double dot = m[r][0] * m[c][0] + m[r][1] * m[c][1] + m[r][2] * m[c][2];
      if (std::fabs(dot - (r == c ? 1.0 : 0.0)) > tolerance) return false;
    }
  }
  return std::fabs(Determinant(m) - 1.0) <= tolerance;
}

}  // namespace section
