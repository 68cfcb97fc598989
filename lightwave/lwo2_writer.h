// Writing of LWO2 object files: the bundled example, benchmark inputs and
// test files are made with it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "lightwave/lwo2_object.h"

namespace host {

// The object as an LWO2 file, laid out as LightWave lays it out: TAGS, then
// per layer LAYR, PNTS, the per-point UV and colour maps and, per run of
// polygons of one type, POLS with its PTAG SURF and per-polygon values; then the
// clips and the surfaces.  Texture layers with an empty ordinal get one
// that keeps their order.  Polygons with an empty surface name get no tag.
// Throws std::length_error for what LWO2 cannot hold (indices over 24 bits,
// polygons over 1023 vertices, sub-chunks over 64 KiB).
std::vector<std::uint8_t> WriteLwo2(const Lwo2Object& object);

// The sub-chunks of the surface's SURF chunk without its two names, as an
// object loader hands a surface to the host.  Clip indices in it refer to
// the object's clips.  Throws std::length_error as WriteLwo2 does.
std::vector<std::uint8_t> WriteSurfaceBlock(const Lwo2Surface& surface);

// Writes WriteLwo2(object) to a file; throws std::runtime_error naming the
// path when it cannot be written.
void WriteLwo2File(const Lwo2Object& object, const std::string& path);

}  // namespace host
