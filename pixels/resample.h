// Image sizes for the game, and the resampling that reaches them.
#pragma once

#include <cstdint>

#include "pixels/rgba_image.h"

namespace pixels {

// The power of two nearest to `side` (nearest by ratio, so 724 goes down to
// 512 and 725 up to 1024), kept within [minimum, maximum].  Both bounds are
// powers of two.
std::uint32_t PowerOfTwoSide(std::uint32_t side, std::uint32_t minimum, std::uint32_t maximum);

// A resampled copy with a Mitchell filter when shrinking and Catmull-Rom
// when enlarging, in linear light (the texels are taken as sRGB) and with
// colours weighted by alpha, so that transparent texels lend no colour to
// their neighbours.  Edges are clamped: a texture need not tile.
RgbaImage Resample(const RgbaImage& source, std::uint32_t width, std::uint32_t height);

}  // namespace pixels
