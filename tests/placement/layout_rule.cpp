#include "tests/placement/layout_rule.h"

#include <cmath>

namespace placementtest {
namespace {

// Bank turns +x toward +y, pitch +z toward -y, heading +z toward +x.
Point Turn(const Point& headingPitchBank, Point p) {
  const double h = headingPitchBank[0], pitch = headingPitchBank[1], b = headingPitchBank[2];
  p = {std::cos(b) * p[0] - std::sin(b) * p[1], std::sin(b) * p[0] + std::cos(b) * p[1], p[2]};
  p = {p[0], std::cos(pitch) * p[1] - std::sin(pitch) * p[2], std::sin(pitch) * p[1] + std::cos(pitch) * p[2]};
  return {std::cos(h) * p[0] + std::sin(h) * p[2], p[1], -std::sin(h) * p[0] + std::cos(h) * p[2]};
}

}  // namespace

Point LayoutWorld(const std::vector<Pose>& poses, int item, Point p) {
  for (; item >= 0; item = poses[static_cast<std::size_t>(item)].parent) {
    const Pose& pose = poses[static_cast<std::size_t>(item)];
    for (std::size_t axis = 0; axis < 3; ++axis) p[axis] = pose.scale[axis] * (p[axis] - pose.pivot[axis]);
    p = Turn(pose.rotation, Turn(pose.pivotRotation, p));
    for (std::size_t axis = 0; axis < 3; ++axis) p[axis] += pose.position[axis];
  }
  return p;
}

Point FromGame(const Point& game) { return {-game[0], game[2], -game[1]}; }

Point ThroughFrames(const dffinfo::ClumpRecord& clump, std::uint32_t frame, const dffinfo::Vec3& vertex) {
  Point p = Widened(vertex);
  for (auto at = static_cast<std::int32_t>(frame); at >= 0; at = clump.frames[static_cast<std::size_t>(at)].parent) {
    const dffinfo::FrameRecord& f = clump.frames[static_cast<std::size_t>(at)];
    const auto at3 = [&](std::size_t i) { return static_cast<double>(f.rotation[i]); };
    Point out{};
    for (std::size_t c = 0; c < 3; ++c) {
      out[c] = p[0] * at3(c) + p[1] * at3(3 + c) + p[2] * at3(6 + c) + static_cast<double>(f.position[c]);
    }
    p = out;
  }
  return FromGame(p);
}

double Distance(const Point& a, const Point& b) {
  return std::sqrt((a[0] - b[0]) * (a[0] - b[0]) + (a[1] - b[1]) * (a[1] - b[1]) + (a[2] - b[2]) * (a[2] - b[2]));
}

Point Widened(const std::array<float, 3>& v) {
  return {static_cast<double>(v[0]), static_cast<double>(v[1]), static_cast<double>(v[2])};
}

}  // namespace placementtest
