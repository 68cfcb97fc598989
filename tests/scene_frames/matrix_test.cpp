// What the frame tests do not reach: the quaternion's other branches, and
// the vector operations of the geometry build.
#include "platform/matrix.h"

#include <gtest/gtest.h>

namespace platform {
namespace {

// Half turns make the trace negative and select the other branches.
TEST(Matrix, AQuaternionRebuildsItsRotation) {
  const float angles[][3] = {{0.3f, -0.7f, 1.1f}, {3.1f, 0, 0}, {0, 3.1f, 0}, {0, 0, 3.1f}};
  for (const auto& a : angles) {
    const Matrix4 rotation = MatrixRotationYawPitchRoll(a[0], a[1], a[2]);
    const Matrix4 rebuilt =
        MatrixAffineTransformation(1.0f, nullptr, QuaternionRotationMatrix(rotation), nullptr);
    for (std::size_t r = 0; r < 4; ++r) {
      for (std::size_t c = 0; c < 4; ++c) EXPECT_NEAR(rebuilt.m[r][c], rotation.m[r][c], 1e-5f);
    }
  }
}

TEST(Matrix, PointsTakeTheTranslationDirectionsDoNotAndZeroStaysZero) {
  const Matrix4 m = MatrixMultiply(MatrixScaling(2, 2, 2), MatrixTranslation(1, 2, 3));
  EXPECT_FLOAT_EQ(Vec3TransformCoord(Vec3f{1, 1, 1}, m).z, 5.0f);
  EXPECT_FLOAT_EQ(Vec3TransformNormal(Vec3f{1, 1, 1}, m).z, 2.0f);  // not normalised again
  EXPECT_FLOAT_EQ(Vec3Normalize(Vec3f{3, 0, 4}).z, 0.8f);
  EXPECT_EQ(Vec3Normalize(Vec3f{}).x, 0.0f);  // no NaN from a zero vector
}

}  // namespace
}  // namespace platform
