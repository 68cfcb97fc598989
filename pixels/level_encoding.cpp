#include "pixels/level_encoding.h"

#include <squish.h>

namespace pixels {
namespace {

int SquishFlags(txd::PixelFormat format) {
  switch (format) {
    case txd::PixelFormat::Dxt1: return squish::kDxt1 | squish::kColourClusterFit;
    case txd::PixelFormat::Dxt1OneBitAlpha: return squish::kDxt1 | squish::kColourClusterFit;
    case txd::PixelFormat::Dxt3:
      return squish::kDxt3 | squish::kColourClusterFit | squish::kWeightColourByAlpha;
    case txd::PixelFormat::Dxt5:
      return squish::kDxt5 | squish::kColourClusterFit | squish::kWeightColourByAlpha;
    case txd::PixelFormat::Bgra8888:
    case txd::PixelFormat::Bgrx888: break;
  }
  return 0;
}

std::vector<std::uint8_t> ToBgra(const RgbaImage& level, bool keepAlpha) {
  std::vector<std::uint8_t> bytes(level.rgba.size());
  for (std::size_t i = 0; i < bytes.size(); i += 4) {
    bytes[i] = level.rgba[i + 2];
    bytes[i + 1] = level.rgba[i + 1];
    bytes[i + 2] = level.rgba[i];
    bytes[i + 3] = keepAlpha ? level.rgba[i + 3] : 0xFF;
  }
  return bytes;
}

}  // namespace

std::vector<std::uint8_t> EncodeLevel(const RgbaImage& level, txd::PixelFormat format) {
  if (!txd::IsCompressed(format)) return ToBgra(level, format == txd::PixelFormat::Bgra8888);
  std::vector<std::uint8_t> blocks(txd::LevelByteCount(format, level.width, level.height));
  const int width = static_cast<int>(level.width);
  squish::CompressImage(level.rgba.data(), width, static_cast<int>(level.height), width * 4,
                        blocks.data(), SquishFlags(format));
  return blocks;
}

}  // namespace pixels
