#include "pixels/level_encoding.h"

#include <squish.h>

#include <algorithm>

#include "pixels/stb.h"

namespace pixels {
namespace {

constexpr std::uint32_t kBlockSide = 4;
constexpr std::size_t kBlockTexels = 16;

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

// The 4 x 4 texels at (left, top), RGBA, row by row.  Past the level's edge
// the last row and column repeat, so that a level smaller than a block is
// fitted to its own colours alone.
void GatherBlock(const RgbaImage& level, std::uint32_t left, std::uint32_t top, std::uint8_t* block) {
  for (std::uint32_t y = 0; y < kBlockSide; ++y) {
    const std::uint32_t sourceY = std::min(top + y, level.height - 1);
    for (std::uint32_t x = 0; x < kBlockSide; ++x) {
      const std::uint8_t* texel = level.texel(std::min(left + x, level.width - 1), sourceY);
      std::copy(texel, texel + 4, block + (y * kBlockSide + x) * 4);
    }
  }
}

bool AllOpaque(const std::uint8_t* block) {
  for (std::size_t i = 0; i < kBlockTexels; ++i) {
    if (block[i * 4 + 3] != 255) return false;
  }
  return true;
}

// DXT3's explicit alpha: 4 bits a texel, rounded to the nearest of 16 steps.
void WriteExplicitAlpha(const std::uint8_t* block, std::uint8_t* out) {
  for (std::size_t i = 0; i < kBlockTexels; i += 2) {
    const unsigned low = (block[i * 4 + 3] * 15u + 127u) / 255u;
    const unsigned high = (block[i * 4 + 7] * 15u + 127u) / 255u;
    out[i / 2] = static_cast<std::uint8_t>(low | (high << 4));
  }
}

// stb_dxt wants constant alpha in a colour-only block.
void CompressOpaqueColour(std::uint8_t* block, std::uint8_t* out) {
  for (std::size_t i = 0; i < kBlockTexels; ++i) block[i * 4 + 3] = 255;
  stb_compress_dxt_block(out, block, 0, STB_DXT_HIGHQUAL);
}

void CompressFastBlock(std::uint8_t* block, txd::PixelFormat format, std::uint8_t* out) {
  switch (format) {
    case txd::PixelFormat::Dxt1OneBitAlpha:
      if (!AllOpaque(block)) {
        squish::Compress(block, out, squish::kDxt1 | squish::kColourRangeFit);
        return;
      }
      stb_compress_dxt_block(out, block, 0, STB_DXT_HIGHQUAL);
      return;
    case txd::PixelFormat::Dxt3:
      WriteExplicitAlpha(block, out);
      CompressOpaqueColour(block, out + 8);
      return;
    case txd::PixelFormat::Dxt5: stb_compress_dxt_block(out, block, 1, STB_DXT_HIGHQUAL); return;
    case txd::PixelFormat::Dxt1:
    case txd::PixelFormat::Bgra8888:
    case txd::PixelFormat::Bgrx888: CompressOpaqueColour(block, out); return;
  }
}

std::vector<std::uint8_t> CompressFast(const RgbaImage& level, txd::PixelFormat format) {
  std::vector<std::uint8_t> blocks(txd::LevelByteCount(format, level.width, level.height));
  const std::size_t blockBytes = txd::LevelByteCount(format, kBlockSide, kBlockSide);
  std::uint8_t* out = blocks.data();
  std::uint8_t block[kBlockTexels * 4];
  for (std::uint32_t top = 0; top < level.height; top += kBlockSide) {
    for (std::uint32_t left = 0; left < level.width; left += kBlockSide) {
      GatherBlock(level, left, top, block);
      CompressFastBlock(block, format, out);
      out += blockBytes;
    }
  }
  return blocks;
}

std::vector<std::uint8_t> CompressBest(const RgbaImage& level, txd::PixelFormat format) {
  std::vector<std::uint8_t> blocks(txd::LevelByteCount(format, level.width, level.height));
  const int width = static_cast<int>(level.width);
  squish::CompressImage(level.rgba.data(), width, static_cast<int>(level.height), width * 4,
                        blocks.data(), SquishFlags(format));
  return blocks;
}

}  // namespace

std::vector<std::uint8_t> EncodeLevel(const RgbaImage& level, txd::PixelFormat format, DxtQuality quality) {
  if (!txd::IsCompressed(format)) return ToBgra(level, format == txd::PixelFormat::Bgra8888);
  return quality == DxtQuality::Fast ? CompressFast(level, format) : CompressBest(level, format);
}

}  // namespace pixels
