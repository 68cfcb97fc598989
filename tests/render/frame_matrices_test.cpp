// Frames placed as the game composes them: a child's matrix times its
// parent's, points as row vectors.
#include <gtest/gtest.h>

#include "render/frame_matrices.h"

namespace render {
namespace {

TEST(WorldPlacements, ChildMatrixComesBeforeItsParents) {
  std::vector<dffinfo::FrameRecord> frames(3);
  for (dffinfo::FrameRecord& f : frames) f.rotation = {1, 0, 0, 0, 1, 0, 0, 0, 1};
  // Turned a quarter round Z (right becomes +Y) and moved 10 along X.
  frames[0].rotation = {0, 1, 0, -1, 0, 0, 0, 0, 1};
  frames[0].position = {10, 0, 0};
  frames[1].position = {1, 0, 0};
  frames[1].parent = 0;
  frames[2].position = {0, 0, 2};
  frames[2].parent = 1;
  const std::vector<Placement> world = WorldPlacements(frames);
  // The child's offset turns with its parent before the parent's move.
  EXPECT_EQ(world[1].position, (Vec3{10, 1, 0}));
  EXPECT_EQ(world[1].rotation, frames[0].rotation);
  EXPECT_EQ(world[2].position, (Vec3{10, 1, 2}));
  // A point of the child's geometry one metre along its X.
  EXPECT_EQ(world[1].Place({1, 0, 0}), (Vec3{10, 2, 0}));
}

TEST(WorldPlacements, FrameWithoutEarlierParentStandsAlone) {
  std::vector<dffinfo::FrameRecord> frames(2);
  frames[0].position = {5, 0, 0};
  frames[0].parent = 1;  // a later frame
  frames[1].position = {0, 3, 0};
  frames[1].parent = 7;  // no such frame
  const std::vector<Placement> world = WorldPlacements(frames);
  EXPECT_EQ(world[0].position, (Vec3{5, 0, 0}));
  EXPECT_EQ(world[1].position, (Vec3{0, 3, 0}));
}

}  // namespace
}  // namespace render
