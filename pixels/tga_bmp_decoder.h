// TGA and BMP files decoded by stb_image, behind our own checks: the size
// from the header first, then that the file holds every row and packet its
// header promises, and only then the decoder.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "pixels/rgba_image.h"

namespace pixels {

// `name` is the file's path, for messages.  Throws ImageError.
RgbaImage DecodeTgaOrBmp(const std::vector<std::uint8_t>& bytes, const std::string& name);

}  // namespace pixels
