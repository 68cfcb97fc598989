#include "pixels/alpha.h"

#include <stdexcept>

namespace pixels {

AlphaKind ClassifyAlpha(const RgbaImage& image) {
  AlphaKind kind = AlphaKind::Opaque;
  for (std::size_t i = 3; i < image.rgba.size(); i += 4) {
    const std::uint8_t a = image.rgba[i];
    if (a == 255) continue;
    if (a != 0) return AlphaKind::Smooth;
    kind = AlphaKind::Binary;
  }
  return kind;
}

void ThresholdAlpha(RgbaImage& image) {
  for (std::size_t i = 3; i < image.rgba.size(); i += 4) {
    image.rgba[i] = image.rgba[i] >= 128 ? 255 : 0;
  }
}

void MakeOpaque(RgbaImage& image) {
  for (std::size_t i = 3; i < image.rgba.size(); i += 4) image.rgba[i] = 255;
}

void ApplyMask(RgbaImage& image, const RgbaImage& mask) {
  if (mask.width != image.width || mask.height != image.height) {
    throw std::invalid_argument("a mask must have the size of its texture");
  }
  for (std::size_t i = 0; i < image.rgba.size(); i += 4) {
    const unsigned sum = unsigned{mask.rgba[i]} + mask.rgba[i + 1] + mask.rgba[i + 2];
    image.rgba[i + 3] = static_cast<std::uint8_t>((sum + 1) / 3);
  }
}

}  // namespace pixels
