// An image as the bytes of a PNG file.  The encoder is plain integer code,
// so every build writes the same bytes for the same image.
#pragma once

#include <cstdint>
#include <vector>

#include "pixels/rgba_image.h"

namespace render {

// Empty when the encoder runs out of memory.
std::vector<std::uint8_t> EncodePng(const pixels::RgbaImage& image);

}  // namespace render
