// The pixel formats maketxd writes, and how each one is declared in the
// native record: raster format, Direct3D format, depth and flags.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "txd/native_texture.h"

namespace txd {

enum class PixelFormat {
  Dxt1,           // opaque: four colours per block, never the transparent index
  Dxt1OneBitAlpha,  // texels either opaque or transparent black
  Dxt3,           // explicit 4-bit alpha
  Dxt5,           // interpolated alpha, for smooth transitions
  Bgra8888,       // 32 bits, B, G, R, A in memory
  Bgrx888,        // 32 bits, B, G, R and an unused byte; opaque
};

bool IsCompressed(PixelFormat format);

// "DXT1", "DXT1 with 1-bit alpha", "8888", ... for messages and listings.
const char* FormatName(PixelFormat format);

// Bytes of one mip level of `width` x `height` texels: whole 4x4 blocks for
// the DXT formats (a 1x1 level is still one block), 4 bytes a texel for the
// 32-bit ones.
std::size_t LevelByteCount(PixelFormat format, std::uint32_t width, std::uint32_t height);

// The native record of a texture in `format` whose levels are given, the
// largest first.  `hasAlpha` tells whether any texel is transparent; the
// alpha flag follows it for the DXT formats, while the 32-bit formats carry
// their alpha in the format itself (8888 always has alpha, 888 never).
// More than one level selects the trilinear filter and the mipmap flag.
NativeTexture MakeNativeTexture(std::string name, std::string mask, PixelFormat format, bool hasAlpha,
                                std::uint16_t width, std::uint16_t height,
                                std::vector<std::vector<std::uint8_t>> levels);

}  // namespace txd
