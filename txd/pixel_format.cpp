#include "txd/pixel_format.h"

namespace txd {
namespace {

struct Declaration {
  std::uint32_t rasterFormat;
  std::uint32_t d3dFormat;
  std::uint8_t depth;
};

// The game's own files declare DXT textures with a depth of 16 and the
// 16-bit class nearest to the data: 565 for opaque DXT1, 1555 for DXT1
// with 1-bit alpha, 4444 for DXT3 and DXT5.
Declaration Declare(PixelFormat format) {
  switch (format) {
    case PixelFormat::Dxt1: return {kRaster565, kD3dDxt1, 16};
    case PixelFormat::Dxt1OneBitAlpha: return {kRaster1555, kD3dDxt1, 16};
    case PixelFormat::Dxt3: return {kRaster4444, kD3dDxt3, 16};
    case PixelFormat::Dxt5: return {kRaster4444, kD3dDxt5, 16};
    case PixelFormat::Bgra8888: return {kRaster8888, kD3dA8R8G8B8, 32};
    case PixelFormat::Bgrx888: return {kRaster888, kD3dX8R8G8B8, 32};
  }
  return {0, 0, 0};
}

std::size_t BlockBytes(PixelFormat format) {
  return format == PixelFormat::Dxt1 || format == PixelFormat::Dxt1OneBitAlpha ? 8 : 16;
}

}  // namespace

bool IsCompressed(PixelFormat format) {
  return format != PixelFormat::Bgra8888 && format != PixelFormat::Bgrx888;
}

const char* FormatName(PixelFormat format) {
  switch (format) {
    case PixelFormat::Dxt1: return "DXT1";
    case PixelFormat::Dxt1OneBitAlpha: return "DXT1 with 1-bit alpha";
    case PixelFormat::Dxt3: return "DXT3";
    case PixelFormat::Dxt5: return "DXT5";
    case PixelFormat::Bgra8888: return "8888";
    case PixelFormat::Bgrx888: return "888";
  }
  return "?";
}

std::size_t LevelByteCount(PixelFormat format, std::uint32_t width, std::uint32_t height) {
  if (!IsCompressed(format)) return std::size_t{width} * height * 4;
  const std::size_t blocksAcross = (std::size_t{width} + 3) / 4;
  const std::size_t blocksDown = (std::size_t{height} + 3) / 4;
  return blocksAcross * blocksDown * BlockBytes(format);
}

NativeTexture MakeNativeTexture(std::string name, std::string mask, PixelFormat format, bool hasAlpha,
                                std::uint16_t width, std::uint16_t height,
                                std::vector<std::vector<std::uint8_t>> levels) {
  const Declaration declared = Declare(format);
  NativeTexture texture;
  texture.name = std::move(name);
  texture.mask = std::move(mask);
  const bool mipmapped = levels.size() > 1;
  texture.filter = mipmapped ? kFilterLinearMipLinear : kFilterLinear;
  texture.rasterFormat = declared.rasterFormat | (mipmapped ? kRasterHasMipmaps : 0u);
  texture.d3dFormat = declared.d3dFormat;
  texture.width = width;
  texture.height = height;
  texture.depth = declared.depth;
  if (IsCompressed(format)) {
    texture.flags = static_cast<std::uint8_t>(kFlagCompressed | (hasAlpha ? kFlagAlpha : 0));
  } else {
    texture.flags = format == PixelFormat::Bgra8888 ? kFlagAlpha : 0;
  }
  texture.levels = std::move(levels);
  return texture;
}

}  // namespace txd
