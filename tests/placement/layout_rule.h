// Layout's placement of an item's points, written out here apart from the
// exporter's own code, and the game's composition of a clump's frames, as
// the references the placement tests hold the exports against.
#pragma once

#include <array>
#include <vector>

#include "dff_inspect/records.h"

namespace placementtest {

using Point = std::array<double, 3>;

struct Pose {
  int parent = -1;
  Point position{0, 0, 0};
  Point rotation{0, 0, 0};  // heading, pitch, bank in radians
  Point scale{1, 1, 1};
  Point pivot{0, 0, 0};
  Point pivotRotation{0, 0, 0};
};

// Where Layout shows point p of item `item`: scaled, moved by minus the
// pivot, turned by the pivot rotation and then the rotation (bank, pitch,
// heading), moved to the position in the parent's object space, and so on
// up the chain.
Point LayoutWorld(const std::vector<Pose>& poses, int item, Point p);

// Layout's axes from the game's: the game's (x, y, z) is Layout's (-x, z, -y).
Point FromGame(const Point& game);

// A vertex of the atomic's frame, through that frame and every frame above
// it as the game composes them (rows of each 3x3 are the images of x, y
// and z, then the frame's position), in Layout's axes.
Point ThroughFrames(const dffinfo::ClumpRecord& clump, std::uint32_t frame, const dffinfo::Vec3& vertex);

double Distance(const Point& a, const Point& b);

Point Widened(const std::array<float, 3>& v);

}  // namespace placementtest
