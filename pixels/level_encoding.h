// One mip level in the bytes of a texture's pixel format.
#pragma once

#include <cstdint>
#include <vector>

#include "pixels/rgba_image.h"
#include "txd/pixel_format.h"

namespace pixels {

// DXT blocks (libsquish's cluster fit, colour error weighted by alpha for
// the formats with alpha) or 32-bit B, G, R, A texels, top row first.  A
// level smaller than a block fills one block, its unused texels ignored by
// the fit.  Opaque DXT1 never uses the transparent index.
std::vector<std::uint8_t> EncodeLevel(const RgbaImage& level, txd::PixelFormat format);

}  // namespace pixels
