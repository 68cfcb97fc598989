// Our DXT levels, from both fits, decoded by libsquish and compared with
// the pixels they came from.  The error bounds are what block compression
// costs on these patterns: a root-mean-square error per channel of at most 6
// (of 255) for colour, and exact alpha where the format stores it exactly.
#include <gtest/gtest.h>

#include <squish.h>

#include <cmath>
#include <vector>

#include "pixels/level_encoding.h"
#include "tests/support/test_images.h"

namespace {

using pixels::DxtQuality;
using pixels::RgbaImage;
using txd::PixelFormat;

constexpr double kMaxColourRmsError = 6.0;
constexpr DxtQuality kQualities[] = {DxtQuality::Fast, DxtQuality::Best};

const char* Name(DxtQuality quality) { return quality == DxtQuality::Fast ? "fast" : "best"; }

RgbaImage Decode(const std::vector<std::uint8_t>& blocks, std::uint32_t w, std::uint32_t h, int flags) {
  RgbaImage image(w, h);
  squish::DecompressImage(image.rgba.data(), static_cast<int>(w), static_cast<int>(h), blocks.data(), flags);
  return image;
}

double ColourRmsError(const RgbaImage& a, const RgbaImage& b) {
  double sum = 0;
  std::size_t count = 0;
  for (std::size_t i = 0; i < a.rgba.size(); ++i) {
    if (i % 4 == 3) continue;
    const double d = static_cast<double>(a.rgba[i]) - static_cast<double>(b.rgba[i]);
    sum += d * d;
    ++count;
  }
  return std::sqrt(sum / static_cast<double>(count));
}

// The pattern with every flat 4 x 4 block in a different colour below it:
// flat blocks take the fits' single-colour paths.
RgbaImage PatternOverFlatBlocks() {
  RgbaImage image = testsupport::TestPattern(256, 256);
  for (std::uint32_t y = 128; y < 256; ++y) {
    for (std::uint32_t x = 0; x < 256; ++x) {
      const std::uint32_t block = (y / 4) * 64 + x / 4;
      image.texel(x, y)[0] = static_cast<std::uint8_t>(block * 37);
      image.texel(x, y)[1] = static_cast<std::uint8_t>(block * 11);
      image.texel(x, y)[2] = static_cast<std::uint8_t>(block * 5);
    }
  }
  return image;
}

// Every channel, colour counted only where the source texel shows: a
// transparent texel's colour is never seen.
double VisibleRmsError(const RgbaImage& source, const RgbaImage& decoded) {
  double sum = 0;
  std::size_t count = 0;
  for (std::size_t i = 0; i < source.rgba.size(); ++i) {
    if (i % 4 != 3 && source.rgba[i | 3] == 0) continue;
    const double d = static_cast<double>(source.rgba[i]) - static_cast<double>(decoded.rgba[i]);
    sum += d * d;
    ++count;
  }
  return std::sqrt(sum / static_cast<double>(count));
}

TEST(DxtRoundTrip, OpaqueDxt1StaysCloseAndNeverTurnsTransparent) {
  const RgbaImage source = PatternOverFlatBlocks();
  for (const DxtQuality quality : kQualities) {
    const RgbaImage decoded =
        Decode(pixels::EncodeLevel(source, PixelFormat::Dxt1, quality), 256, 256, squish::kDxt1);
    EXPECT_LE(ColourRmsError(source, decoded), kMaxColourRmsError) << Name(quality);
    // A reader takes index 3 of a block whose first colour is not greater
    // than its second as transparent black: no texel may come out that way.
    for (std::size_t i = 3; i < decoded.rgba.size(); i += 4) {
      ASSERT_EQ(decoded.rgba[i], 255) << Name(quality) << " texel " << i / 4;
    }
  }
}

// The quick fit may cost a little quality, never much: at most a quarter
// more error than the best fit, format by format.
TEST(DxtRoundTrip, FastFitStaysWithinAQuarterOfTheBestFitsError) {
  RgbaImage cutOut = testsupport::TestPattern(128, 128);
  RgbaImage smooth = testsupport::TestPattern(128, 128);
  for (std::uint32_t y = 0; y < 128; ++y) {
    for (std::uint32_t x = 0; x < 128; ++x) {
      const int dx = static_cast<int>(x) - 64;
      const int dy = static_cast<int>(y) - 64;
      cutOut.texel(x, y)[3] = dx * dx + dy * dy < 50 * 50 ? 255 : 0;  // a disc
      smooth.texel(x, y)[3] = static_cast<std::uint8_t>(x * 2);
    }
  }
  const RgbaImage opaque = PatternOverFlatBlocks();
  const struct {
    const RgbaImage& source;
    PixelFormat format;
    int flags;
  } cases[] = {{opaque, PixelFormat::Dxt1, squish::kDxt1},
               {cutOut, PixelFormat::Dxt1OneBitAlpha, squish::kDxt1},
               {smooth, PixelFormat::Dxt3, squish::kDxt3},
               {smooth, PixelFormat::Dxt5, squish::kDxt5}};
  for (const auto& c : cases) {
    double error[2];
    for (const DxtQuality quality : kQualities) {
      const RgbaImage decoded = Decode(pixels::EncodeLevel(c.source, c.format, quality), c.source.width,
                                       c.source.height, c.flags);
      error[quality == DxtQuality::Fast ? 0 : 1] = VisibleRmsError(c.source, decoded);
    }
    EXPECT_LE(error[0], error[1] * 1.25) << txd::FormatName(c.format) << ": fast " << error[0] << ", best "
                                         << error[1];
  }
}

TEST(DxtRoundTrip, CutOutAlphaSurvivesDxt1Exactly) {
  RgbaImage source = testsupport::TestPattern(64, 64);
  for (std::uint32_t y = 0; y < 64; ++y) {
    for (std::uint32_t x = 0; x < 64; ++x) source.texel(x, y)[3] = (x / 3 + y / 5) % 2 ? 255 : 0;
  }
  for (const DxtQuality quality : kQualities) {
    const RgbaImage decoded =
        Decode(pixels::EncodeLevel(source, PixelFormat::Dxt1OneBitAlpha, quality), 64, 64, squish::kDxt1);
    for (std::size_t i = 3; i < decoded.rgba.size(); i += 4) {
      ASSERT_EQ(decoded.rgba[i], source.rgba[i]) << Name(quality) << " texel " << i / 4;
    }
  }
}

TEST(DxtRoundTrip, SmoothAlphaStaysCloseInDxt3AndDxt5) {
  RgbaImage source = testsupport::TestPattern(128, 128);
  for (std::uint32_t y = 0; y < 128; ++y) {
    for (std::uint32_t x = 0; x < 128; ++x) source.texel(x, y)[3] = static_cast<std::uint8_t>(x * 2);
  }
  for (const DxtQuality quality : kQualities) {
    for (const auto& [format, flags] : {std::pair<PixelFormat, int>{PixelFormat::Dxt3, squish::kDxt3},
                                        {PixelFormat::Dxt5, squish::kDxt5}}) {
      const RgbaImage decoded = Decode(pixels::EncodeLevel(source, format, quality), 128, 128, flags);
      int worstAlpha = 0;
      for (std::size_t i = 3; i < decoded.rgba.size(); i += 4) {
        worstAlpha = std::max(worstAlpha, std::abs(int{decoded.rgba[i]} - int{source.rgba[i]}));
      }
      // DXT3 keeps 4 bits (steps of 17), DXT5 interpolates 8 values a block.
      EXPECT_LE(worstAlpha, 9) << txd::FormatName(format) << " " << Name(quality);
      EXPECT_LE(ColourRmsError(source, decoded), kMaxColourRmsError) << txd::FormatName(format) << " "
                                                                     << Name(quality);
    }
  }
}

TEST(DxtRoundTrip, LevelsSmallerThanABlockFillOneBlockWithTheirOwnTexels) {
  RgbaImage tiny(2, 1);
  tiny.texel(0, 0)[0] = 255, tiny.texel(0, 0)[3] = 255;  // red
  tiny.texel(1, 0)[2] = 255, tiny.texel(1, 0)[3] = 255;  // blue
  for (const DxtQuality quality : kQualities) {
    const std::vector<std::uint8_t> block = pixels::EncodeLevel(tiny, PixelFormat::Dxt1, quality);
    ASSERT_EQ(block.size(), 8u);
    const RgbaImage decoded = Decode(block, 2, 1, squish::kDxt1);
    EXPECT_GE(decoded.texel(0, 0)[0], 240) << Name(quality);
    EXPECT_LE(decoded.texel(0, 0)[2], 16) << Name(quality);
    EXPECT_GE(decoded.texel(1, 0)[2], 240) << Name(quality);
    EXPECT_LE(decoded.texel(1, 0)[0], 16) << Name(quality);
  }
}

TEST(LevelEncoding, ThirtyTwoBitLevelsAreBgraTopRowFirst) {
  RgbaImage image(1, 2);
  const std::uint8_t top[4] = {1, 2, 3, 4};
  const std::uint8_t bottom[4] = {5, 6, 7, 8};
  std::copy(top, top + 4, image.texel(0, 0));
  std::copy(bottom, bottom + 4, image.texel(0, 1));
  EXPECT_EQ(pixels::EncodeLevel(image, PixelFormat::Bgra8888, DxtQuality::Fast),
            (std::vector<std::uint8_t>{3, 2, 1, 4, 7, 6, 5, 8}));
  EXPECT_EQ(pixels::EncodeLevel(image, PixelFormat::Bgrx888, DxtQuality::Fast),
            (std::vector<std::uint8_t>{3, 2, 1, 255, 7, 6, 5, 255}));
}

}  // namespace
