#include "import_scene/frame_turn.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "import_scene/widened.h"

namespace import_scene {
namespace {

using Rows = std::array<import::Vec3, 3>;
using Values = std::array<double, 9>;

// The export's frame rows for an item turned and scaled by `turn`, before
// rounding: the game's axes, rows the images of x, y and z.
Values ExportedRows(const placement::TurnAndScale& turn) {
  placement::ItemMotion motion;
  motion.rotation = turn.rotation;
  motion.scaling = turn.scaling;
  const placement::Matrix3 game = placement::ToGameAxes(placement::TurnAndScaling(motion));
  Values rows{};
  for (std::size_t r = 0; r < 3; ++r) {
    for (std::size_t c = 0; c < 3; ++c) rows[r * 3 + c] = game[c][r];
  }
  return rows;
}

double LastPlace(float value) {
  return static_cast<double>(std::nextafter(std::fabs(value), INFINITY) - std::fabs(value));
}

// Each value's distance from the stored one, in units of the stored one's
// last place, and whether it rounds as stored.
struct Offsets {
  Values distance{};
  std::array<bool, 9> rounds{};

  Offsets(const placement::TurnAndScale& turn, const Rows& stored) {
    const Values rows = ExportedRows(turn);
    for (std::size_t i = 0; i < 9; ++i) {
      const float target = stored[i / 3][i % 3];
      rounds[i] = static_cast<float>(rows[i]) == target;
      distance[i] = (rows[i] - static_cast<double>(target)) / LastPlace(target);
    }
  }

  std::size_t Misses() const {
    std::size_t misses = 0;
    for (bool r : rounds) misses += r ? 0 : 1;
    return misses;
  }
};

double& Parameter(placement::TurnAndScale& turn, std::size_t i) {
  return i < 3 ? turn.rotation[i] : turn.scaling[i - 3];
}

// Solves the 6x6 system (augmented by its right side) by Gaussian
// elimination with partial pivoting; false when it is singular.
bool Solve(std::array<std::array<double, 7>, 6>& system, std::array<double, 6>& solution) {
  for (std::size_t col = 0; col < 6; ++col) {
    std::size_t pivot = col;
    for (std::size_t r = col + 1; r < 6; ++r) {
      if (std::fabs(system[r][col]) > std::fabs(system[pivot][col])) pivot = r;
    }
    if (std::fabs(system[pivot][col]) < 1e-300) return false;
    std::swap(system[col], system[pivot]);
    for (std::size_t r = 0; r < 6; ++r) {
      if (r == col) continue;
      const double factor = system[r][col] / system[col][col];
      for (std::size_t c = col; c < 7; ++c) system[r][c] -= factor * system[col][c];
    }
  }
  for (std::size_t i = 0; i < 6; ++i) solution[i] = system[i][6] / system[i][i];
  return true;
}

// One weighted least-squares step of the six parameters that brings the
// nine values toward the stored ones, on the linearised export.
placement::TurnAndScale WeightedStep(const placement::TurnAndScale& turn, const Rows& stored, const Values& off,
                                     const Values& weight) {
  std::array<std::array<double, 6>, 9> jacobian{};  // last places per unit of each parameter
  const Values base = ExportedRows(turn);
  constexpr double kDelta = 1e-6;
  for (std::size_t p = 0; p < 6; ++p) {
    placement::TurnAndScale moved = turn;
    Parameter(moved, p) += kDelta;
    const Values rows = ExportedRows(moved);
    for (std::size_t i = 0; i < 9; ++i) {
      jacobian[i][p] = (rows[i] - base[i]) / kDelta / LastPlace(stored[i / 3][i % 3]);
    }
  }
  std::array<std::array<double, 7>, 6> system{};
  for (std::size_t a = 0; a < 6; ++a) {
    for (std::size_t i = 0; i < 9; ++i) {
      for (std::size_t b = 0; b < 6; ++b) system[a][b] += weight[i] * jacobian[i][a] * jacobian[i][b];
      system[a][6] -= weight[i] * jacobian[i][a] * off[i];
    }
  }
  placement::TurnAndScale next = turn;
  std::array<double, 6> change{};
  if (!Solve(system, change)) return next;
  for (std::size_t p = 0; p < 6; ++p) Parameter(next, p) += change[p];
  return next;
}

}  // namespace

placement::TurnAndScale FrameTurn(const Rows& stored) {
  placement::Matrix3 game{};
  for (std::size_t r = 0; r < 3; ++r) {
    for (std::size_t c = 0; c < 3; ++c) game[r][c] = static_cast<double>(stored[c][r]);
  }
  placement::TurnAndScale turn = placement::SplitTurnAndScaling(placement::FromGameAxes(game));
  Offsets off(turn, stored);
  // Values that still round to their neighbour weigh more in each next
  // step, until all round as stored; the turn with the fewest such values
  // is kept.
  placement::TurnAndScale best = turn;
  std::size_t bestMisses = off.Misses();
  Values weight;
  weight.fill(1.0);
  constexpr int kSteps = 40;
  for (int step = 0; step < kSteps && bestMisses > 0; ++step) {
    for (std::size_t i = 0; i < 9; ++i) {
      if (!off.rounds[i]) weight[i] = std::min(weight[i] * 1.5, 1e6);
    }
    turn = WeightedStep(turn, stored, off.distance, weight);
    off = Offsets(turn, stored);
    if (off.Misses() < bestMisses) {
      best = turn;
      bestMisses = off.Misses();
    }
  }
  return best;
}

placement::ItemMotion FrameMotion(const import::Frame& frame) {
  const placement::TurnAndScale turn = FrameTurn(frame.rotation);
  placement::ItemMotion motion;
  motion.rotation = turn.rotation;
  motion.scaling = turn.scaling;
  motion.position = placement::FromGameAxes(Widened(frame.position));
  return motion;
}

}  // namespace import_scene
