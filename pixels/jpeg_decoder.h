// JPEG files decoded by libjpeg-turbo, a decoder made and fuzzed for files
// from anywhere.  Every warning it gives (damaged or missing scan data, a
// file cut short, markers out of place) refuses the file.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "pixels/rgba_image.h"

namespace pixels {

// `name` is the file's path, for messages.  Throws ImageError.
RgbaImage DecodeJpeg(const std::vector<std::uint8_t>& bytes, const std::string& name);

}  // namespace pixels
