// The mip levels of a texture: each level half the size of the one before
// (never less than 1), down to 1 x 1.
#pragma once

#include <cstdint>
#include <vector>

#include "pixels/rgba_image.h"

namespace pixels {

// floor(log2(max(width, height))) + 1.
std::uint32_t FullChainLength(std::uint32_t width, std::uint32_t height);

// `top` followed by every smaller level, each resampled from the one above
// it.
std::vector<RgbaImage> BuildMipChain(RgbaImage top);

}  // namespace pixels
