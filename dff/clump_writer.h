// The clump writer: one Clump chunk, with its frames, geometries,
// materials and atomics, and the collision data after the last atomic.
#pragma once

#include <cstdint>
#include <vector>

#include "dff/clump_content.h"
#include "dff/output_stream.h"
#include "platform/matrix.h"

namespace dff {

// Writes the one Clump of a file from `content`, asking it for the
// collision data after the last Atomic.  Returns the clump's length.  The
// clump always ends with its Extension, empty unless collision data was
// embedded.  Collision data that fails while being read fails the stream;
// a stream that fails stops the writing where it failed.
std::int32_t WriteClump(OutputStream& stream, ClumpContent& content);

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
