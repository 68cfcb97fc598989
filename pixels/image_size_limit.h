// The largest image decoded, judged from a file's header before anything
// is allocated for its pixels.
#pragma once

#include <cstdint>
#include <string>

namespace pixels {

// The largest texture side the game gets from maketxd (its --max-size
// ceiling), which is also the largest texture Direct3D 9 hardware of the
// game's era creates.  At 4 bytes a texel the decoded image then takes at
// most 256 MiB.
constexpr std::uint32_t kMaxImageSide = 8192;

// Throws an ImageError naming `name` when a side is 0 or over the limit.
void CheckImageSize(std::uint64_t width, std::uint64_t height, const std::string& name);

}  // namespace pixels
