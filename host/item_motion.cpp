#include "host/item_motion.h"

#include <array>
#include <cmath>
#include <map>
#include <stdexcept>

#include "lwsdk/item_info.h"

namespace host {
namespace {

using Matrix = std::array<Vec3, 3>;  // rows

Matrix Multiply(const Matrix& a, const Matrix& b) {
  Matrix product{};
  for (std::size_t r = 0; r < 3; ++r) {
    for (std::size_t c = 0; c < 3; ++c) {
      for (std::size_t k = 0; k < 3; ++k) product[r][c] += a[r][k] * b[k][c];
    }
  }
  return product;
}

Vec3 Apply(const Matrix& m, const Vec3& v) {
  Vec3 result{};
  for (std::size_t r = 0; r < 3; ++r) result[r] = m[r][0] * v[0] + m[r][1] * v[1] + m[r][2] * v[2];
  return result;
}

Vec3 Column(const Matrix& m, std::size_t c) { return {m[0][c], m[1][c], m[2][c]}; }

Vec3 Minus(const Vec3& a, const Vec3& b) { return {a[0] - b[0], a[1] - b[1], a[2] - b[2]}; }
Vec3 Plus(const Vec3& a, const Vec3& b) { return {a[0] + b[0], a[1] + b[1], a[2] + b[2]}; }

// Heading turns about +Y (+Z towards +X), pitch about +X (+Z downwards),
// bank about +Z; bank applies first, heading last.
Matrix Rotation(const Vec3& hpb) {
  const double ch = std::cos(hpb[0]), sh = std::sin(hpb[0]);
  const double cp = std::cos(hpb[1]), sp = std::sin(hpb[1]);
  const double cb = std::cos(hpb[2]), sb = std::sin(hpb[2]);
  const Matrix heading{{{ch, 0, sh}, {0, 1, 0}, {-sh, 0, ch}}};
  const Matrix pitch{{{1, 0, 0}, {0, cp, -sp}, {0, sp, cp}}};
  const Matrix bank{{{cb, -sb, 0}, {sb, cb, 0}, {0, 0, 1}}};
  return Multiply(heading, Multiply(pitch, bank));
}

Matrix RotationAndScale(const LocalPose& pose) {
  Matrix m = Rotation(pose.rotation);
  for (std::size_t r = 0; r < 3; ++r) {
    for (std::size_t c = 0; c < 3; ++c) m[r][c] *= pose.scale[c];
  }
  return m;
}

// The inverse, or zeros for a matrix that has none (a zero scale).
Matrix Inverse(const Matrix& m) {
  Matrix cofactors{};
  for (std::size_t r = 0; r < 3; ++r) {
    for (std::size_t c = 0; c < 3; ++c) {
      const std::size_t r1 = (r + 1) % 3, r2 = (r + 2) % 3, c1 = (c + 1) % 3, c2 = (c + 2) % 3;
      cofactors[r][c] = m[r1][c1] * m[r2][c2] - m[r1][c2] * m[r2][c1];
    }
  }
  const double determinant = m[0][0] * cofactors[0][0] + m[0][1] * cofactors[0][1] + m[0][2] * cofactors[0][2];
  Matrix inverse{};
  if (determinant == 0.0) return inverse;
  for (std::size_t r = 0; r < 3; ++r) {
    for (std::size_t c = 0; c < 3; ++c) inverse[r][c] = cofactors[c][r] / determinant;
  }
  return inverse;
}

struct WorldPose {
  Matrix axes{};
  Vec3 position{};
};

// Items in an order where every parent comes before its children.
std::vector<std::size_t> ParentsFirst(const std::vector<Item>& items) {
  std::vector<std::size_t> order;
  std::vector<bool> placed(items.size(), false);
  std::vector<std::size_t> chain;
  for (std::size_t i = 0; i < items.size(); ++i) {
    chain.clear();
    for (int j = static_cast<int>(i); j >= 0 && !placed[static_cast<std::size_t>(j)];
         j = items[static_cast<std::size_t>(j)].parent) {
      if (chain.size() > items.size()) throw std::invalid_argument("the items form a parent cycle");
      chain.push_back(static_cast<std::size_t>(j));
    }
    for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
      placed[*it] = true;
      order.push_back(*it);
    }
  }
  return order;
}

}  // namespace

std::optional<std::size_t> FindParentCycle(const std::vector<Item>& items) {
  enum class Mark { kNew, kOnPath, kDone };
  std::vector<Mark> marks(items.size(), Mark::kNew);
  std::vector<std::size_t> path;
  for (std::size_t i = 0; i < items.size(); ++i) {
    path.clear();
    int j = static_cast<int>(i);
    while (j >= 0 && marks[static_cast<std::size_t>(j)] == Mark::kNew) {
      marks[static_cast<std::size_t>(j)] = Mark::kOnPath;
      path.push_back(static_cast<std::size_t>(j));
      j = items[static_cast<std::size_t>(j)].parent;
    }
    if (j >= 0 && marks[static_cast<std::size_t>(j)] == Mark::kOnPath) return static_cast<std::size_t>(j);
    for (std::size_t k : path) marks[k] = Mark::kDone;
  }
  return std::nullopt;
}

void SetMotionsAtTimeZero(std::vector<Item>& items, const std::vector<LocalPose>& poses) {
  std::vector<WorldPose> world(items.size());
  for (std::size_t i : ParentsFirst(items)) {
    const LocalPose& pose = poses[i];
    const Matrix local = RotationAndScale(pose);
    if (items[i].parent < 0) {
      world[i] = {local, pose.position};
    } else {
      const auto p = static_cast<std::size_t>(items[i].parent);
      const Vec3 inParent = Minus(pose.position, poses[p].pivot);
      world[i] = {Multiply(world[p].axes, local), Plus(Apply(world[p].axes, inParent), world[p].position)};
    }
    const Matrix inverse = Inverse(world[i].axes);
    std::map<int, Vec3>& params = items[i].atTimeZero.params;
    params[LWIP_POSITION] = pose.position;
    params[LWIP_RIGHT] = Column(world[i].axes, 0);
    params[LWIP_UP] = Column(world[i].axes, 1);
    params[LWIP_FORWARD] = Column(world[i].axes, 2);
    params[LWIP_ROTATION] = pose.rotation;
    params[LWIP_SCALING] = pose.scale;
    params[LWIP_PIVOT] = pose.pivot;
    params[LWIP_W_POSITION] = world[i].position;
    params[LWIP_W_RIGHT] = Column(inverse, 0);
    params[LWIP_W_UP] = Column(inverse, 1);
    params[LWIP_W_FORWARD] = Column(inverse, 2);
    params[LWIP_PIVOT_ROT] = pose.pivotRotation;
  }
}

}  // namespace host
