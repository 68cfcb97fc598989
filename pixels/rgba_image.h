// An image in memory: 8-bit R, G, B, A per texel, rows top to bottom with
// no padding.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace pixels {

struct RgbaImage {
  std::uint32_t width = 0;
  std::uint32_t height = 0;
  std::vector<std::uint8_t> rgba;  // width * height * 4 bytes

  RgbaImage() = default;
  RgbaImage(std::uint32_t w, std::uint32_t h) : width(w), height(h), rgba(std::size_t{w} * h * 4) {}

  std::size_t texelCount() const { return std::size_t{width} * height; }
  std::uint8_t* texel(std::uint32_t x, std::uint32_t y) { return &rgba[(std::size_t{y} * width + x) * 4]; }
  const std::uint8_t* texel(std::uint32_t x, std::uint32_t y) const {
    return &rgba[(std::size_t{y} * width + x) * 4];
  }
};

}  // namespace pixels
