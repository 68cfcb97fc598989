// Turns the bytes of a PNG, TGA, JPEG or BMP file into an RGBA image.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

#include "pixels/rgba_image.h"

namespace pixels {

// The largest image side decoded, and the most texels: far above any
// texture the game can use, and low enough that a file claiming huge
// dimensions cannot make the decoder allocate gigabytes.
constexpr std::uint32_t kMaxImageSide = 16384;
constexpr std::uint64_t kMaxImageTexels = std::uint64_t{8192} * 8192;

// Why an image could not be decoded; the message names the file and the
// decoder's reason.
class ImageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// `name` is the file's path, for messages.  Throws ImageError.
RgbaImage DecodeImage(const std::vector<std::uint8_t>& bytes, const std::string& name);

}  // namespace pixels
