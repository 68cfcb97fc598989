// One mip level in the bytes of a texture's pixel format.
#pragma once

#include <cstdint>
#include <vector>

#include "pixels/rgba_image.h"
#include "txd/pixel_format.h"

namespace pixels {

// How DXT blocks are fitted.
enum class DxtQuality {
  // stb_dxt's principal-axis fit with two refinement steps, about a
  // hundred times quicker than Best for a few percent more error; blocks
  // of a cut-out that hold transparent texels take libsquish's range fit,
  // as stb_dxt has no transparent index.
  Fast,
  // libsquish's cluster fit, colour error weighted by alpha for the
  // formats with alpha.
  Best,
};

// DXT blocks or 32-bit B, G, R, A texels, top row first.  A level smaller
// than a block fills one block from its own texels.  Opaque DXT1 never uses
// the transparent index.
std::vector<std::uint8_t> EncodeLevel(const RgbaImage& level, txd::PixelFormat format, DxtQuality quality);

}  // namespace pixels
