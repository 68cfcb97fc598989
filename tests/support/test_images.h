// Image files made in memory for the tests, with stb_image_write.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "pixels/rgba_image.h"

namespace testsupport {

// The image encoded as a file of the given kind: "png", "tga" (run-length
// coded), "tga-raw", "bmp" (32 bits a texel, alpha included) or "jpg"
// (quality 90, alpha dropped; stb's JPEG writer shifts negative values, so
// it is for the benchmarks, not the sanitised tests).
std::vector<std::uint8_t> EncodeImageFile(const pixels::RgbaImage& image, const std::string& kind);

// A pattern with detail in every channel: smooth gradients, which DXT
// keeps well, crossed by a few sharp edges.
pixels::RgbaImage TestPattern(std::uint32_t width, std::uint32_t height, std::uint8_t alpha = 255);

}  // namespace testsupport
