// PNG files decoded by libspng, a decoder written for files from anywhere:
// checked arithmetic, limits on chunk and image sizes, every checksum
// verified (the chunks' and the compressed data's).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "pixels/rgba_image.h"

namespace pixels {

// `name` is the file's path, for messages.  Throws ImageError.
RgbaImage DecodePng(const std::vector<std::uint8_t>& bytes, const std::string& name);

}  // namespace pixels
