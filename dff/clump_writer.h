// Pieces of the clump writer (DffExporter::WriteClump and WriteChunk, in
// clump_writer.cpp) that stand on their own.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "platform/matrix.h"

namespace dff {

// The COL file name proposed to the user: the scene's name without its
// extension, plus ".col".  A null name counts as empty.  A name too long
// for the request's buffer loses the end of its base, never the ".col".
std::string ProposeColName(const char* sceneName);

struct BoundingSphere {
  platform::Vec3f centre;
  float radius = 0.0f;
};

// The sphere around a geometry's written positions, in its own space: the
// centre of their bounding box and the largest distance from it, rounded up
// so that every position stays inside.  An empty geometry gets a zero
// sphere at the origin.
BoundingSphere ComputeBoundingSphere(const std::vector<platform::Vec3f>& positions);

}  // namespace dff
