// Images written as PNG files by libspng, for files a user opens and
// edits (the import's textures).  Lossless at every level: the level only
// trades the file's size against the time deflate takes.
#pragma once

#include <cstdint>
#include <vector>

#include "pixels/rgba_image.h"

namespace pixels {

// zlib's fastest level: a texture's file is written once and opened by an
// image editor, so a second saved on a million texels is worth more than a
// few percent of its size.
inline constexpr int kQuickPngLevel = 1;

// The PNG file of `image` (8-bit RGBA), deflated at `level` (0 to 9).
// Empty when libspng cannot encode it (out of memory).
std::vector<std::uint8_t> EncodePng(const RgbaImage& image, int level = kQuickPngLevel);

}  // namespace pixels
