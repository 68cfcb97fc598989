// Our DXT levels decoded by libsquish and compared with the pixels they
// came from.  The error bounds are what block compression costs on these
// patterns: a root-mean-square error per channel of at most 6 (of 255) for
// colour, and exact alpha where the format stores it exactly.
#include <gtest/gtest.h>

#include <squish.h>

#include <cmath>
#include <vector>

#include "pixels/level_encoding.h"
#include "tests/support/test_images.h"

namespace {

using pixels::RgbaImage;
using txd::PixelFormat;

constexpr double kMaxColourRmsError = 6.0;

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

TEST(DxtRoundTrip, OpaqueDxt1StaysCloseAndNeverTurnsTransparent) {
  const RgbaImage source = testsupport::TestPattern(256, 128);
  const RgbaImage decoded = Decode(pixels::EncodeLevel(source, PixelFormat::Dxt1), 256, 128, squish::kDxt1);
  const double error = ColourRmsError(source, decoded);
  RecordProperty("dxt1_rms_error", std::to_string(error));
  EXPECT_LE(error, kMaxColourRmsError);
  // A reader takes index 3 of a block whose first colour is not greater
  // than its second as transparent black: no texel may come out that way.
  for (std::size_t i = 3; i < decoded.rgba.size(); i += 4) ASSERT_EQ(decoded.rgba[i], 255) << i / 4;
}

TEST(DxtRoundTrip, CutOutAlphaSurvivesDxt1Exactly) {
  RgbaImage source = testsupport::TestPattern(64, 64);
  for (std::uint32_t y = 0; y < 64; ++y) {
    for (std::uint32_t x = 0; x < 64; ++x) source.texel(x, y)[3] = (x / 3 + y / 5) % 2 ? 255 : 0;
  }
  const RgbaImage decoded =
      Decode(pixels::EncodeLevel(source, PixelFormat::Dxt1OneBitAlpha), 64, 64, squish::kDxt1);
  for (std::size_t i = 3; i < decoded.rgba.size(); i += 4) ASSERT_EQ(decoded.rgba[i], source.rgba[i]) << i / 4;
}

TEST(DxtRoundTrip, SmoothAlphaStaysCloseInDxt3AndDxt5) {
  RgbaImage source = testsupport::TestPattern(128, 128);
  for (std::uint32_t y = 0; y < 128; ++y) {
    for (std::uint32_t x = 0; x < 128; ++x) source.texel(x, y)[3] = static_cast<std::uint8_t>(x * 2);
  }
  for (const auto& [format, flags] : {std::pair<PixelFormat, int>{PixelFormat::Dxt3, squish::kDxt3},
                                      {PixelFormat::Dxt5, squish::kDxt5}}) {
    const RgbaImage decoded = Decode(pixels::EncodeLevel(source, format), 128, 128, flags);
    int worstAlpha = 0;
    for (std::size_t i = 3; i < decoded.rgba.size(); i += 4) {
      worstAlpha = std::max(worstAlpha, std::abs(int{decoded.rgba[i]} - int{source.rgba[i]}));
    }
    // DXT3 keeps 4 bits (steps of 17), DXT5 interpolates 8 values a block.
    EXPECT_LE(worstAlpha, 9) << txd::FormatName(format);
    EXPECT_LE(ColourRmsError(source, decoded), kMaxColourRmsError) << txd::FormatName(format);
  }
}

TEST(DxtRoundTrip, LevelsSmallerThanABlockFillOneBlockWithTheirOwnTexels) {
  RgbaImage tiny(2, 1);
  tiny.texel(0, 0)[0] = 255, tiny.texel(0, 0)[3] = 255;  // red
  tiny.texel(1, 0)[2] = 255, tiny.texel(1, 0)[3] = 255;  // blue
  const std::vector<std::uint8_t> block = pixels::EncodeLevel(tiny, PixelFormat::Dxt1);
  ASSERT_EQ(block.size(), 8u);
  const RgbaImage decoded = Decode(block, 2, 1, squish::kDxt1);
  EXPECT_GE(decoded.texel(0, 0)[0], 240);
  EXPECT_LE(decoded.texel(0, 0)[2], 16);
  EXPECT_GE(decoded.texel(1, 0)[2], 240);
  EXPECT_LE(decoded.texel(1, 0)[0], 16);
}

TEST(LevelEncoding, ThirtyTwoBitLevelsAreBgraTopRowFirst) {
  RgbaImage image(1, 2);
  const std::uint8_t top[4] = {1, 2, 3, 4};
  const std::uint8_t bottom[4] = {5, 6, 7, 8};
  std::copy(top, top + 4, image.texel(0, 0));
  std::copy(bottom, bottom + 4, image.texel(0, 1));
  EXPECT_EQ(pixels::EncodeLevel(image, PixelFormat::Bgra8888),
            (std::vector<std::uint8_t>{3, 2, 1, 4, 7, 6, 5, 8}));
  EXPECT_EQ(pixels::EncodeLevel(image, PixelFormat::Bgrx888),
            (std::vector<std::uint8_t>{3, 2, 1, 255, 7, 6, 5, 255}));
}

}  // namespace
