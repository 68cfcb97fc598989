// 4x4 single-precision matrix math in the row-vector convention: a point is
// a row vector multiplied on the right, the translation sits in the fourth
// row, and A*B applies A first.  These are the exact semantics of the
// Direct3D 9 extension functions the exporter's numbers were defined with.
#pragma once

#include <array>

namespace platform {

struct Vec3f {
  float x = 0.0f, y = 0.0f, z = 0.0f;
};

struct Quaternion {
  float x = 0.0f, y = 0.0f, z = 0.0f, w = 1.0f;
};

// Each matrix is its own 16-byte-aligned block.
struct alignas(16) Matrix4 {
  std::array<std::array<float, 4>, 4> m{};  // m[row][column]

  static Matrix4 Identity();
};

// Rz(roll) * Rx(pitch) * Ry(yaw).
Matrix4 MatrixRotationYawPitchRoll(float yaw, float pitch, float roll);
// The unit quaternion of a rotation matrix.
Quaternion QuaternionRotationMatrix(const Matrix4& rotation);
Matrix4 MatrixScaling(float sx, float sy, float sz);
Matrix4 MatrixTranslation(float x, float y, float z);
// S(scale) * T(-centre) * R(rotation) * T(centre) * T(translation); a null
// centre or translation counts as none.
Matrix4 MatrixAffineTransformation(float scale, const Vec3f* centre, const Quaternion& rotation,
                                   const Vec3f* translation);
// The inverse; a singular matrix gives the identity.
Matrix4 MatrixInverse(const Matrix4& matrix);
Matrix4 MatrixMultiply(const Matrix4& a, const Matrix4& b);

Vec3f Vec3Normalize(const Vec3f& v);
// (x, y, z, 1) * M, divided by the resulting w.
Vec3f Vec3TransformCoord(const Vec3f& v, const Matrix4& matrix);
// (x, y, z, 0) * M: the upper 3x3 only, not normalised.
Vec3f Vec3TransformNormal(const Vec3f& v, const Matrix4& matrix);

}  // namespace platform
