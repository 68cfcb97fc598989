#include "platform/matrix.h"

#include <cmath>

namespace platform {
namespace {

float Dot3(const Vec3f& a, const Vec3f& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }

// The rotation matrix of a unit quaternion, in the row-vector convention.
Matrix4 MatrixRotationQuaternion(const Quaternion& q) {
  Matrix4 r = Matrix4::Identity();
  r.m[0][0] = 1.0f - 2.0f * (q.y * q.y + q.z * q.z);
  r.m[0][1] = 2.0f * (q.x * q.y + q.z * q.w);
  r.m[0][2] = 2.0f * (q.x * q.z - q.y * q.w);
  r.m[1][0] = 2.0f * (q.x * q.y - q.z * q.w);
  r.m[1][1] = 1.0f - 2.0f * (q.x * q.x + q.z * q.z);
  r.m[1][2] = 2.0f * (q.y * q.z + q.x * q.w);
  r.m[2][0] = 2.0f * (q.x * q.z + q.y * q.w);
  r.m[2][1] = 2.0f * (q.y * q.z - q.x * q.w);
  r.m[2][2] = 1.0f - 2.0f * (q.x * q.x + q.y * q.y);
  return r;
}

Matrix4 TranslationBy(const Vec3f& v) { return MatrixTranslation(v.x, v.y, v.z); }

Vec3f Negated(const Vec3f& v) { return Vec3f{-v.x, -v.y, -v.z}; }

// The determinant of the 3x3 minor that leaves out row `skipRow` and
// column `skipColumn`, in double precision.
double Minor(const std::array<std::array<double, 4>, 4>& a, int skipRow, int skipColumn) {
  int rows[3] = {};
  int columns[3] = {};
  for (int i = 0, r = 0, c = 0; i < 4; ++i) {
    if (i != skipRow) rows[r++] = i;
    if (i != skipColumn) columns[c++] = i;
  }
  auto at = [&](int r, int c) { return a[static_cast<std::size_t>(rows[r])][static_cast<std::size_t>(columns[c])]; };
  return at(0, 0) * (at(1, 1) * at(2, 2) - at(1, 2) * at(2, 1)) -
         at(0, 1) * (at(1, 0) * at(2, 2) - at(1, 2) * at(2, 0)) +
         at(0, 2) * (at(1, 0) * at(2, 1) - at(1, 1) * at(2, 0));
}

}  // namespace

Matrix4 Matrix4::Identity() {
  Matrix4 identity;
  for (std::size_t i = 0; i < 4; ++i) identity.m[i][i] = 1.0f;
  return identity;
}

Matrix4 MatrixRotationYawPitchRoll(float yaw, float pitch, float roll) {
  Matrix4 rx = Matrix4::Identity();
  rx.m[1][1] = std::cos(pitch);
  rx.m[1][2] = std::sin(pitch);
  rx.m[2][1] = -std::sin(pitch);
  rx.m[2][2] = std::cos(pitch);

  Matrix4 ry = Matrix4::Identity();
  ry.m[0][0] = std::cos(yaw);
  ry.m[0][2] = -std::sin(yaw);
  ry.m[2][0] = std::sin(yaw);
  ry.m[2][2] = std::cos(yaw);

  Matrix4 rz = Matrix4::Identity();
  rz.m[0][0] = std::cos(roll);
  rz.m[0][1] = std::sin(roll);
  rz.m[1][0] = -std::sin(roll);
  rz.m[1][1] = std::cos(roll);

  return MatrixMultiply(MatrixMultiply(rz, rx), ry);
}

// Picks the largest of w, x, y, z to divide by, so that no component is
// derived from a difference of nearly equal numbers.
Quaternion QuaternionRotationMatrix(const Matrix4& rotation) {
  const auto& m = rotation.m;
  const float trace = m[0][0] + m[1][1] + m[2][2];
  Quaternion q;
  if (trace > 0.0f) {
    const float s = std::sqrt(trace + 1.0f) * 2.0f;  // 4w
    q.w = 0.25f * s;
    q.x = (m[1][2] - m[2][1]) / s;
    q.y = (m[2][0] - m[0][2]) / s;
    q.z = (m[0][1] - m[1][0]) / s;
  } else if (m[0][0] > m[1][1] && m[0][0] > m[2][2]) {
    const float s = std::sqrt(1.0f + m[0][0] - m[1][1] - m[2][2]) * 2.0f;  // 4x
    q.x = 0.25f * s;
    q.y = (m[0][1] + m[1][0]) / s;
    q.z = (m[0][2] + m[2][0]) / s;
    q.w = (m[1][2] - m[2][1]) / s;
  } else if (m[1][1] > m[2][2]) {
    const float s = std::sqrt(1.0f + m[1][1] - m[0][0] - m[2][2]) * 2.0f;  // 4y
    q.y = 0.25f * s;
    q.x = (m[0][1] + m[1][0]) / s;
    q.z = (m[1][2] + m[2][1]) / s;
    q.w = (m[2][0] - m[0][2]) / s;
  } else {
    const float s = std::sqrt(1.0f + m[2][2] - m[0][0] - m[1][1]) * 2.0f;  // 4z
    q.z = 0.25f * s;
    q.x = (m[0][2] + m[2][0]) / s;
    q.y = (m[1][2] + m[2][1]) / s;
    q.w = (m[0][1] - m[1][0]) / s;
  }
  const float length = std::sqrt(q.x * q.x + q.y * q.y + q.z * q.z + q.w * q.w);
  if (length > 0.0f) {
    q.x /= length;
    q.y /= length;
    q.z /= length;
    q.w /= length;
  }
  return q;
}

Matrix4 MatrixScaling(float sx, float sy, float sz) {
  Matrix4 s = Matrix4::Identity();
  s.m[0][0] = sx;
  s.m[1][1] = sy;
  s.m[2][2] = sz;
  return s;
}

Matrix4 MatrixTranslation(float x, float y, float z) {
  Matrix4 t = Matrix4::Identity();
  t.m[3][0] = x;
  t.m[3][1] = y;
  t.m[3][2] = z;
  return t;
}

Matrix4 MatrixAffineTransformation(float scale, const Vec3f* centre, const Quaternion& rotation,
                                   const Vec3f* translation) {
  Matrix4 result = MatrixScaling(scale, scale, scale);
  if (centre != nullptr) result = MatrixMultiply(result, TranslationBy(Negated(*centre)));
  result = MatrixMultiply(result, MatrixRotationQuaternion(rotation));
  if (centre != nullptr) result = MatrixMultiply(result, TranslationBy(*centre));
  if (translation != nullptr) result = MatrixMultiply(result, TranslationBy(*translation));
  return result;
}

// Cofactors in double precision.  A matrix without an inverse (an item
// scaled to zero on an axis) gives the identity, so that whatever is
// derived from it stays finite.
Matrix4 MatrixInverse(const Matrix4& matrix) {
  std::array<std::array<double, 4>, 4> a{};
  for (std::size_t r = 0; r < 4; ++r) {
    for (std::size_t c = 0; c < 4; ++c) a[r][c] = static_cast<double>(matrix.m[r][c]);
  }
  std::array<std::array<double, 4>, 4> cofactor{};
  for (int r = 0; r < 4; ++r) {
    for (int c = 0; c < 4; ++c) {
      const double sign = ((r + c) % 2 == 0) ? 1.0 : -1.0;
      cofactor[static_cast<std::size_t>(r)][static_cast<std::size_t>(c)] = sign * Minor(a, r, c);
    }
  }
  double determinant = 0.0;
  for (std::size_t c = 0; c < 4; ++c) determinant += a[0][c] * cofactor[0][c];
  if (determinant == 0.0 || !std::isfinite(determinant)) return Matrix4::Identity();

  Matrix4 inverse;
  for (std::size_t r = 0; r < 4; ++r) {
    for (std::size_t c = 0; c < 4; ++c) {
      // The inverse is the transposed cofactor matrix over the determinant.
      inverse.m[r][c] = static_cast<float>(cofactor[c][r] / determinant);
    }
  }
  return inverse;
}

Matrix4 MatrixMultiply(const Matrix4& a, const Matrix4& b) {
  Matrix4 product;
  for (std::size_t r = 0; r < 4; ++r) {
    for (std::size_t c = 0; c < 4; ++c) {
      float sum = 0.0f;
      for (std::size_t k = 0; k < 4; ++k) sum += a.m[r][k] * b.m[k][c];
      product.m[r][c] = sum;
    }
  }
  return product;
}

Vec3f Vec3Normalize(const Vec3f& v) {
  const float length = std::sqrt(Dot3(v, v));
  if (!(length > 0.0f)) return Vec3f{};
  return Vec3f{v.x / length, v.y / length, v.z / length};
}

// A w of zero (a projective matrix, never one of the exporter's affine ones)
// leaves the point undivided rather than sending it to infinity.
Vec3f Vec3TransformCoord(const Vec3f& v, const Matrix4& matrix) {
  const auto& m = matrix.m;
  const Vec3f p{v.x * m[0][0] + v.y * m[1][0] + v.z * m[2][0] + m[3][0],
                v.x * m[0][1] + v.y * m[1][1] + v.z * m[2][1] + m[3][1],
                v.x * m[0][2] + v.y * m[1][2] + v.z * m[2][2] + m[3][2]};
  const float w = v.x * m[0][3] + v.y * m[1][3] + v.z * m[2][3] + m[3][3];
  if (w == 0.0f) return p;
  return Vec3f{p.x / w, p.y / w, p.z / w};
}

Vec3f Vec3TransformNormal(const Vec3f& v, const Matrix4& matrix) {
  const auto& m = matrix.m;
  return Vec3f{v.x * m[0][0] + v.y * m[1][0] + v.z * m[2][0],
               v.x * m[0][1] + v.y * m[1][1] + v.z * m[2][1],
               v.x * m[0][2] + v.y * m[1][2] + v.z * m[2][2]};
}

}  // namespace platform
