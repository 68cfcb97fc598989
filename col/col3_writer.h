// The COL3 form of an entry, as San Andreas on PC reads it: a 120-byte
// header, then spheres, boxes, vertices (zero-padded to a multiple of 4),
// the face groups with their count, faces, shadow vertices (padded) and
// shadow faces, back to back.  Offsets count from the byte after the
// fourcc; an absent block has offset 0.  The flags say exactly which
// blocks are there.
#pragma once

#include <cstdint>
#include <vector>

#include "col/collision_model.h"

namespace col {

inline constexpr std::uint32_t kFlagNotEmpty = 0x02;   // any sphere, box or face
inline constexpr std::uint32_t kFlagFaceGroups = 0x08;
inline constexpr std::uint32_t kFlagShadowMesh = 0x10;

// Appends the entry to `file`; a COL file is its entries back to back.
// Throws std::invalid_argument for an entry no file can hold: a name over
// 21 bytes, more faces or vertices than the limits, a face index past its
// mesh's vertices, a vertex no face uses at the end of a mesh (readers
// count vertices by the largest index), or a face group outside the faces.
void AppendCol3Entry(const Entry& entry, std::vector<std::uint8_t>& file);

}  // namespace col
