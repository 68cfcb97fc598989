// Where each frame of a clump sits in the world, composed as the game
// composes frames: RenderWare multiplies row vectors from the left, so a
// frame's world matrix is its own matrix times its parent's world matrix,
// and a point p of the frame lands at p * rotation + position.
#pragma once

#include <array>
#include <vector>

#include "dff_inspect/records.h"

namespace render {

using dffinfo::Vec3;

struct Placement {
  std::array<float, 9> rotation{1, 0, 0, 0, 1, 0, 0, 0, 1};  // rows: right, up, at
  Vec3 position{};

  Vec3 Place(const Vec3& point) const;   // rotated and moved
  Vec3 Turn(const Vec3& direction) const;  // rotated only
};

// One placement per frame, in frame order.  A frame whose parent index
// does not name an earlier frame is placed as a root.
std::vector<Placement> WorldPlacements(const std::vector<dffinfo::FrameRecord>& frames);

}  // namespace render
