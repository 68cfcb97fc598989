#include "platform/matrix.h"

#include <gtest/gtest.h>

#include <cmath>

namespace platform {
namespace {

constexpr float kHalfPi = 1.5707963267948966f;
constexpr float kTolerance = 1e-5f;

void ExpectUpper3x3(const Matrix4& m, std::array<std::array<float, 3>, 3> rows) {
  for (std::size_t r = 0; r < 3; ++r) {
    for (std::size_t c = 0; c < 3; ++c) {
      EXPECT_NEAR(m.m[r][c], rows[r][c], kTolerance) << "row " << r << " column " << c;
    }
  }
}

void ExpectMatrixNear(const Matrix4& actual, const Matrix4& expected) {
  for (std::size_t r = 0; r < 4; ++r) {
    for (std::size_t c = 0; c < 4; ++c) {
      EXPECT_NEAR(actual.m[r][c], expected.m[r][c], kTolerance) << "row " << r << " column " << c;
    }
  }
}

// Each angle alone selects its own axis, and the three compose as
// roll, then pitch, then yaw.
TEST(Matrix, YawPitchRollRotateAboutYXZInThatComposition) {
  ExpectUpper3x3(MatrixRotationYawPitchRoll(kHalfPi, 0, 0), {{{0, 0, -1}, {0, 1, 0}, {1, 0, 0}}});
  ExpectUpper3x3(MatrixRotationYawPitchRoll(0, kHalfPi, 0), {{{1, 0, 0}, {0, 0, 1}, {0, -1, 0}}});
  ExpectUpper3x3(MatrixRotationYawPitchRoll(0, 0, kHalfPi), {{{0, 1, 0}, {-1, 0, 0}, {0, 0, 1}}});

  const Matrix4 all = MatrixRotationYawPitchRoll(0.3f, -0.7f, 1.1f);
  const Matrix4 composed =
      MatrixMultiply(MatrixMultiply(MatrixRotationYawPitchRoll(0, 0, 1.1f),
                                    MatrixRotationYawPitchRoll(0, -0.7f, 0)),
                     MatrixRotationYawPitchRoll(0.3f, 0, 0));
  ExpectMatrixNear(all, composed);
}

// A rotation survives the trip through its quaternion, including the
// half-turns where the matrix trace is negative.
TEST(Matrix, QuaternionOfARotationRebuildsTheSameRotation) {
  const float angles[][3] = {{0.3f, -0.7f, 1.1f}, {3.1f, 0.0f, 0.0f}, {0.0f, 3.1f, 0.0f},
                             {0.0f, 0.0f, 3.1f},  {2.0f, 2.5f, -2.9f}, {0, 0, 0}};
  for (const auto& a : angles) {
    const Matrix4 rotation = MatrixRotationYawPitchRoll(a[0], a[1], a[2]);
    const Quaternion q = QuaternionRotationMatrix(rotation);
    EXPECT_NEAR(q.x * q.x + q.y * q.y + q.z * q.z + q.w * q.w, 1.0f, kTolerance);
    ExpectMatrixNear(MatrixAffineTransformation(1.0f, nullptr, q, nullptr), rotation);
  }
}

TEST(Matrix, AffineTransformationScalesRotatesAboutTheCentreThenTranslates) {
  const Quaternion quarterTurnAboutZ = QuaternionRotationMatrix(MatrixRotationYawPitchRoll(0, 0, kHalfPi));
  const Vec3f centre{1, 0, 0};
  const Vec3f translation{0, 0, 5};
  const Matrix4 m = MatrixAffineTransformation(2.0f, &centre, quarterTurnAboutZ, &translation);
  // (2,0,0) scaled to (4,0,0), turned about (1,0,0) to (1,3,0), moved to (1,3,5).
  const Vec3f p = Vec3TransformCoord(Vec3f{2, 0, 0}, m);
  EXPECT_NEAR(p.x, 1.0f, kTolerance);
  EXPECT_NEAR(p.y, 3.0f, kTolerance);
  EXPECT_NEAR(p.z, 5.0f, kTolerance);
}

TEST(Matrix, InverseUndoesTheMatrixAndASingularOneGivesTheIdentity) {
  const Vec3f centre{1, 2, 3};
  const Vec3f translation{-4, 5, 0.5f};
  const Matrix4 m = MatrixMultiply(
      MatrixAffineTransformation(1.0f, &centre,
                                 QuaternionRotationMatrix(MatrixRotationYawPitchRoll(0.4f, 0.2f, -1.3f)),
                                 &translation),
      MatrixScaling(2, 3, 0.5f));
  ExpectMatrixNear(MatrixMultiply(m, MatrixInverse(m)), Matrix4::Identity());

  const Matrix4 flattened = MatrixMultiply(m, MatrixScaling(1, 0, 1));
  ExpectMatrixNear(MatrixInverse(flattened), Matrix4::Identity());
  ExpectMatrixNear(MatrixInverse(Matrix4{}), Matrix4::Identity());
}

TEST(Matrix, PointsTakeTheTranslationAndDirectionsDoNot) {
  const Matrix4 m = MatrixMultiply(MatrixScaling(2, 2, 2), MatrixTranslation(1, 2, 3));
  const Vec3f point = Vec3TransformCoord(Vec3f{1, 1, 1}, m);
  EXPECT_FLOAT_EQ(point.x, 3.0f);
  EXPECT_FLOAT_EQ(point.y, 4.0f);
  EXPECT_FLOAT_EQ(point.z, 5.0f);
  const Vec3f direction = Vec3TransformNormal(Vec3f{1, 1, 1}, m);
  EXPECT_FLOAT_EQ(direction.x, 2.0f);  // scaled, not normalised again
  EXPECT_FLOAT_EQ(direction.y, 2.0f);
  EXPECT_FLOAT_EQ(direction.z, 2.0f);

  // A w other than 1 divides the point.
  Matrix4 projective = Matrix4::Identity();
  projective.m[3][3] = 2.0f;
  EXPECT_FLOAT_EQ(Vec3TransformCoord(Vec3f{4, 6, 8}, projective).y, 3.0f);
}

TEST(Matrix, NormalisingGivesUnitLengthAndAZeroVectorStaysZero) {
  const Vec3f unit = Vec3Normalize(Vec3f{3, 0, 4});
  EXPECT_FLOAT_EQ(unit.x, 0.6f);
  EXPECT_FLOAT_EQ(unit.z, 0.8f);
  const Vec3f zero = Vec3Normalize(Vec3f{0, 0, 0});
  EXPECT_EQ(zero.x, 0.0f);
  EXPECT_EQ(zero.y, 0.0f);
  EXPECT_EQ(zero.z, 0.0f);
}

}  // namespace
}  // namespace platform
