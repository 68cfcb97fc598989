// Checks across the records of a clump: indices that must point at
// something, totals that must agree, and the limits of the game.
#pragma once

#include "dff_inspect/findings.h"
#include "dff_inspect/records.h"

namespace dffinfo {

// The game's limits.
constexpr std::size_t kMaxFrameNameBytes = 23;      // a 24-byte slot with its terminator
constexpr std::size_t kMaxTextureNameBytes = 31;    // a 32-byte array with its terminator
constexpr std::uint32_t kMaxVertices = 65535;       // what the 16-bit triangle words address
constexpr std::uint32_t kMaxCollisionBytes = 16384; // the game's collision scratch buffer

void ValidateClump(const ClumpRecord& clump, Findings& findings);

}  // namespace dffinfo
