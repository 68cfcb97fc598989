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

// Writes WriteLwo2(object) to a file; throws std::runtime_error naming the
// path when it cannot be written.
void WriteLwo2File(const Lwo2Object& object, const std::string& path);

}  // namespace host
