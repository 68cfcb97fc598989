// Motion parameters of items at rest in a scene: their own position,
// rotation, scaling and pivots, and what follows from the parent chain
// (world position and axis vectors), as Layout reports them.
#pragma once

#include <cstddef>
#include <optional>
#include <vector>

#include "host/scene_model.h"

namespace host {

// An item's own motion at one time, relative to its parent.
struct LocalPose {
  Vec3 position{0.0, 0.0, 0.0};
  Vec3 rotation{0.0, 0.0, 0.0};  // heading, pitch, bank in radians
  Vec3 scale{1.0, 1.0, 1.0};
  Vec3 pivot{0.0, 0.0, 0.0};
  Vec3 pivotRotation{0.0, 0.0, 0.0};  // heading, pitch, bank in radians
};

// An item that is its own ancestor, or nothing.
std::optional<std::size_t> FindParentCycle(const std::vector<Item>& items);

// Fills every item's atTimeZero from the poses (one per item): position,
// rotation, scaling, pivot and pivot rotation as they are, and the world
// position and axis vectors through the parent chain, by Layout's
// placement rule (placement/lightwave_placement.h).  A point p of an item
// lands in the world at RIGHT*px' + UP*py' + FORWARD*pz' + W_POSITION with
// p' = p - pivot; the axes carry the scaling, the pivot rotation and the
// rotation.  Throws std::invalid_argument when the items form a parent
// cycle.
void SetMotionsAtTimeZero(std::vector<Item>& items, const std::vector<LocalPose>& poses);

}  // namespace host
