#include "render/frame_matrices.h"

#include <cstddef>

namespace render {
namespace {

// local * parent, both as row-vector affine transforms.
Placement Compose(const Placement& local, const Placement& parent) {
  Placement world;
  for (std::size_t row = 0; row < 3; ++row) {
    const Vec3 localRow{local.rotation[row * 3], local.rotation[row * 3 + 1], local.rotation[row * 3 + 2]};
    const Vec3 turned = parent.Turn(localRow);
    for (std::size_t column = 0; column < 3; ++column) world.rotation[row * 3 + column] = turned[column];
  }
  world.position = parent.Place(local.position);
  return world;
}

}  // namespace

Vec3 Placement::Turn(const Vec3& d) const {
  const std::array<float, 9>& m = rotation;
  return {d[0] * m[0] + d[1] * m[3] + d[2] * m[6], d[0] * m[1] + d[1] * m[4] + d[2] * m[7],
          d[0] * m[2] + d[1] * m[5] + d[2] * m[8]};
}

Vec3 Placement::Place(const Vec3& point) const {
  const Vec3 turned = Turn(point);
  return {turned[0] + position[0], turned[1] + position[1], turned[2] + position[2]};
}

std::vector<Placement> WorldPlacements(const std::vector<dffinfo::FrameRecord>& frames) {
  std::vector<Placement> world(frames.size());
  for (std::size_t i = 0; i < frames.size(); ++i) {
    Placement local;
    local.rotation = frames[i].rotation;
    local.position = frames[i].position;
    const std::int32_t parent = frames[i].parent;
    const bool hasEarlierParent = parent >= 0 && static_cast<std::size_t>(parent) < i;
    world[i] = hasEarlierParent ? Compose(local, world[static_cast<std::size_t>(parent)]) : local;
  }
  return world;
}

}  // namespace render
