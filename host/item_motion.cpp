#include "host/item_motion.h"

#include <array>
#include <cmath>
#include <map>
#include <stdexcept>

#include "lwsdk/item_info.h"
#include "placement/lightwave_placement.h"

namespace host {
namespace {

using Matrix = placement::Matrix3;

Vec3 Column(const Matrix& m, std::size_t c) { return {m[0][c], m[1][c], m[2][c]}; }

placement::ItemMotion MotionOf(const LocalPose& pose) {
  return {pose.position, pose.rotation, pose.scale, pose.pivot, pose.pivotRotation};
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
  std::vector<placement::Affine> world(items.size());
  for (std::size_t i : ParentsFirst(items)) {
    const LocalPose& pose = poses[i];
    const placement::Affine toParent = placement::ItemToParent(MotionOf(pose));
    world[i] = items[i].parent < 0 ? toParent
                                   : placement::Compose(world[static_cast<std::size_t>(items[i].parent)], toParent);
    const Matrix& axes = world[i].linear;
    const Matrix inverse = Inverse(axes);
    std::map<int, Vec3>& params = items[i].atTimeZero.params;
    params[LWIP_POSITION] = pose.position;
    params[LWIP_RIGHT] = Column(axes, 0);
    params[LWIP_UP] = Column(axes, 1);
    params[LWIP_FORWARD] = Column(axes, 2);
    params[LWIP_ROTATION] = pose.rotation;
    params[LWIP_SCALING] = pose.scale;
    params[LWIP_PIVOT] = pose.pivot;
    params[LWIP_W_POSITION] = placement::Apply(world[i], pose.pivot);
    params[LWIP_W_RIGHT] = Column(inverse, 0);
    params[LWIP_W_UP] = Column(inverse, 1);
    params[LWIP_W_FORWARD] = Column(inverse, 2);
    params[LWIP_PIVOT_ROT] = pose.pivotRotation;
  }
}

}  // namespace host
