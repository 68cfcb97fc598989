// Writing of the chunks that LWO2 and LWO3 object files share byte for
// byte: the tag names, and the layers with their points, UV maps,
// polygons and surface tags.
#pragma once

#include <array>

#include "lightwave/iff_writer.h"
#include "lightwave/lwo2_object.h"

namespace host {

// TAGS, then per layer LAYR, PNTS, the per-point UV and colour maps and,
// per run of polygons of one type, POLS with its PTAG SURF and per-polygon
// values.  Polygons with an empty surface name get no tag.  Throws
// std::length_error for what the format cannot hold (indices over 24
// bits, polygons over 1023 vertices).
void WriteGeometry(IffWriter& out, const Lwo2Object& object);

// A vector as the floats a file stores.
std::array<float, 3> ToFloats(const Vec3& value);

}  // namespace host
