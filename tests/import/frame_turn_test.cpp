// Heading, pitch, bank and scaling taken back from the matrices the export
// writes: the inverse of Layout's rule, and the frames' single-precision
// values reproduced exactly.
#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "import_scene/frame_turn.h"
#include "placement/lightwave_placement.h"

namespace {

constexpr double kPi = 3.14159265358979323846;

void ExpectNear(const placement::Matrix3& a, const placement::Matrix3& b, double tolerance) {
  for (std::size_t r = 0; r < 3; ++r) {
    for (std::size_t c = 0; c < 3; ++c) EXPECT_NEAR(a[r][c], b[r][c], tolerance) << r << "," << c;
  }
}

TEST(TurnInverse, HeadingPitchBankGiveBackEveryRotation) {
  std::mt19937 random(7);
  std::uniform_real_distribution<double> angle(-kPi, kPi);
  for (int i = 0; i < 1000; ++i) {
    const placement::Vec3 hpb{angle(random), angle(random) / 2, angle(random)};
    const placement::Matrix3 rotation = placement::Rotation(hpb);
    ExpectNear(placement::Rotation(placement::HeadingPitchBank(rotation)), rotation, 1e-12);
  }
}

TEST(TurnInverse, AtAPitchOfNinetyDegreesBankIsZeroAndTheTurnKept) {
  for (double pitch : {kPi / 2, -kPi / 2}) {
    const placement::Matrix3 rotation = placement::Rotation({0.3, pitch, 0.4});
    const placement::Vec3 hpb = placement::HeadingPitchBank(rotation);
    EXPECT_EQ(hpb[2], 0.0);
    ExpectNear(placement::Rotation(hpb), rotation, 1e-12);
  }
}

TEST(TurnInverse, ScalingAndMirroringComeBackAsLayoutsScaling) {
  placement::ItemMotion motion;
  motion.rotation = {0.5, -0.2, 1.1};
  motion.scaling = {-2, 0.5, 3};
  const placement::Matrix3 linear = placement::TurnAndScaling(motion);
  const placement::TurnAndScale split = placement::SplitTurnAndScaling(linear);
  EXPECT_NEAR(split.scaling[0], -2, 1e-12);
  EXPECT_NEAR(split.scaling[1], 0.5, 1e-12);
  EXPECT_NEAR(split.scaling[2], 3, 1e-12);
  placement::ItemMotion back;
  back.rotation = split.rotation;
  back.scaling = split.scaling;
  ExpectNear(placement::TurnAndScaling(back), linear, 1e-12);
}

TEST(TurnInverse, AxesFromTheGamesUndoAxesToTheGames) {
  const placement::Matrix3 layout = placement::Rotation({0.1, 0.7, -0.4});
  ExpectNear(placement::FromGameAxes(placement::ToGameAxes(layout)), layout, 0);
}

// The frame rows the export writes for a turn and scaling, rounded.
std::array<import::Vec3, 3> Written(const placement::Vec3& hpb, const placement::Vec3& scaling) {
  placement::ItemMotion motion;
  motion.rotation = hpb;
  motion.scaling = scaling;
  const placement::Matrix3 game = placement::ToGameAxes(placement::TurnAndScaling(motion));
  std::array<import::Vec3, 3> rows{};
  for (std::size_t r = 0; r < 3; ++r) {
    for (std::size_t c = 0; c < 3; ++c) rows[r][c] = static_cast<float>(game[c][r]);
  }
  return rows;
}

TEST(FrameTurn, EveryWrittenFrameIsWrittenAgainWithTheSameValues) {
  std::mt19937 random(11);
  std::uniform_real_distribution<double> angle(-kPi, kPi);
  std::uniform_real_distribution<double> scale(0.2, 4);
  int differing = 0;
  constexpr int kFrames = 3000;
  for (int i = 0; i < kFrames; ++i) {
    const placement::Vec3 hpb{angle(random), angle(random) / 2, angle(random)};
    // Unscaled, scaled unevenly, and mirrored.
    placement::Vec3 scaling{1, 1, 1};
    if (i % 3 != 0) scaling = {scale(random), scale(random), scale(random)};
    if (i % 3 == 2) scaling[1] = -scaling[1];
    const std::array<import::Vec3, 3> rows = Written(hpb, scaling);
    const placement::TurnAndScale turn = import_scene::FrameTurn(rows);
    if (Written(turn.rotation, turn.scaling) != rows) ++differing;
  }
  EXPECT_EQ(differing, 0) << differing << " of " << kFrames << " frames come back with a value one place off";
}

}  // namespace
