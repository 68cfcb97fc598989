#include <stdexcept>
#include <string>

#include "tools/makecol/entry_sources.h"

namespace makecol {
namespace {

// A frame's matrix as a point sees it: rows right, up, at, then position.
col::Point ThroughFrame(const dffinfo::FrameRecord& frame, const col::Point& p) {
  const auto& m = frame.rotation;
  col::Point out{};
  for (std::size_t axis = 0; axis < 3; ++axis) {
    out[axis] = p[0] * static_cast<double>(m[axis]) + p[1] * static_cast<double>(m[3 + axis]) +
                p[2] * static_cast<double>(m[6 + axis]) + static_cast<double>(frame.position[axis]);
  }
  return out;
}

// The point in the clump's space, through the frame and its parents.  A
// parent chain longer than the frame list loops, and is cut there.
col::Point InClump(const std::vector<dffinfo::FrameRecord>& frames, std::int64_t frame, col::Point p) {
  for (std::size_t steps = 0; frame >= 0 && static_cast<std::size_t>(frame) < frames.size() && steps <= frames.size();
       ++steps) {
    p = ThroughFrame(frames[static_cast<std::size_t>(frame)], p);
    frame = frames[static_cast<std::size_t>(frame)].parent;
  }
  return p;
}

}  // namespace

GatheredEntry FromClump(const dffinfo::ClumpRecord& clump) {
  // A DFF holds only visible triangles, so no warning says they stand in.
  GatheredEntry gathered;
  // DFF materials carry no collision surface: every face is DEFAULT.
  gathered.source.surfaces = {"DEFAULT"};
  for (std::size_t a = 0; a < clump.atomics.size(); ++a) {
    const dffinfo::AtomicRecord& atomic = clump.atomics[a];
    if (atomic.geometryIndex >= clump.geometries.size()) continue;  // reported by the reader as damage
    const dffinfo::GeometryRecord& geometry = clump.geometries[atomic.geometryIndex];
    if (geometry.triangles.empty()) continue;
    if (geometry.morphTargets.empty() || geometry.morphTargets[0].positions.size() != geometry.vertexCount) {
      throw std::runtime_error("geometry " + std::to_string(atomic.geometryIndex) +
                               " stores no vertex positions (a platform-native geometry?), so its triangles "
                               "cannot be placed");
    }
    std::vector<col::Point> points;
    points.reserve(geometry.vertexCount);
    for (const dffinfo::Vec3& v : geometry.morphTargets[0].positions) {
      points.push_back(InClump(clump.frames, atomic.frameIndex,
                               {static_cast<double>(v[0]), static_cast<double>(v[1]), static_cast<double>(v[2])}));
    }
    const auto item = static_cast<std::uint32_t>(gathered.source.items.size());
    gathered.source.items.push_back("atomic " + std::to_string(a));
    for (const dffinfo::Triangle& t : geometry.triangles) {
      if (t.a >= points.size() || t.b >= points.size() || t.c >= points.size()) continue;
      // Visual triangles face the other way round: (a, b, c) runs counter-
      // clockwise seen from outside, and the game's collision reads clockwise.
      gathered.source.collision.push_back({{points[t.a], points[t.c], points[t.b]}, item, 0});
    }
  }
  if (gathered.source.collision.empty()) throw std::runtime_error("its clump holds no triangle");
  return gathered;
}

}  // namespace makecol
