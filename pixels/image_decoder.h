// Turns the bytes of a PNG, TGA, JPEG or BMP file into an RGBA image, each
// kind by its own reader: libspng for PNG, libjpeg-turbo for JPEG, stb_image
// behind our own checks for TGA and BMP.  Every reader checks the image's
// size from its header (image_size_limit.h) before it allocates the pixels.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "pixels/image_error.h"
#include "pixels/image_size_limit.h"
#include "pixels/rgba_image.h"

namespace pixels {

// `name` is the file's path, for messages.  Throws ImageError.
RgbaImage DecodeImage(const std::vector<std::uint8_t>& bytes, const std::string& name);

}  // namespace pixels
