// Sizes for the game and the resampling and mip levels that reach them.
#include <gtest/gtest.h>

#include "pixels/mip_chain.h"
#include "pixels/resample.h"

namespace {

using pixels::PowerOfTwoSide;
using pixels::RgbaImage;

TEST(PowerOfTwoSide, TakesTheNearestByRatioWithinTheBounds) {
  EXPECT_EQ(PowerOfTwoSide(512, 1, 1024), 512u);
  EXPECT_EQ(PowerOfTwoSide(724, 1, 1024), 512u);  // 724 / 512 < 1024 / 724
  EXPECT_EQ(PowerOfTwoSide(725, 1, 1024), 1024u);
  EXPECT_EQ(PowerOfTwoSide(3000, 1, 1024), 1024u);
  EXPECT_EQ(PowerOfTwoSide(1, 1, 1024), 1u);
  EXPECT_EQ(PowerOfTwoSide(1, 4, 1024), 4u);
  EXPECT_EQ(PowerOfTwoSide(3, 1, 1024), 4u);
  EXPECT_EQ(PowerOfTwoSide(0xFFFFFFFFu, 1, 32768), 32768u);
}

TEST(Resample, KeepsAFlatColourFlat) {
  RgbaImage flat(7, 5);
  for (std::size_t i = 0; i < flat.rgba.size(); i += 4) {
    flat.rgba[i] = 10, flat.rgba[i + 1] = 120, flat.rgba[i + 2] = 250, flat.rgba[i + 3] = 255;
  }
  for (const auto& size : {std::pair<std::uint32_t, std::uint32_t>{4, 8}, {16, 2}, {1, 1}}) {
    const RgbaImage resized = pixels::Resample(flat, size.first, size.second);
    ASSERT_EQ(resized.width, size.first);
    for (std::size_t i = 0; i < resized.rgba.size(); i += 4) {
      EXPECT_NEAR(resized.rgba[i], 10, 1);
      EXPECT_NEAR(resized.rgba[i + 1], 120, 1);
      EXPECT_NEAR(resized.rgba[i + 2], 250, 1);
      EXPECT_EQ(resized.rgba[i + 3], 255);
    }
  }
}

TEST(Resample, TransparentTexelsLendNoColour) {
  // Left half invisible red, right half opaque blue: shrinking must not
  // tint the visible blue towards red.
  RgbaImage image(16, 4);
  for (std::uint32_t y = 0; y < 4; ++y) {
    for (std::uint32_t x = 0; x < 16; ++x) {
      std::uint8_t* t = image.texel(x, y);
      if (x < 8) t[0] = 255, t[1] = 0, t[2] = 0, t[3] = 0;
      else t[0] = 0, t[1] = 0, t[2] = 255, t[3] = 255;
    }
  }
  const RgbaImage half = pixels::Resample(image, 8, 2);
  for (std::uint32_t x = 0; x < 8; ++x) {
    const std::uint8_t* t = half.texel(x, 1);
    if (t[3] > 16) {
      EXPECT_LE(t[0], 8) << "column " << x;
    }
  }
}

TEST(MipChain, HalvesEachSideDownToOneTexel) {
  EXPECT_EQ(pixels::FullChainLength(256, 256), 9u);
  EXPECT_EQ(pixels::FullChainLength(8, 2), 4u);
  EXPECT_EQ(pixels::FullChainLength(1, 1), 1u);
  const std::vector<RgbaImage> chain = pixels::BuildMipChain(RgbaImage(8, 2));
  ASSERT_EQ(chain.size(), 4u);
  const std::uint32_t sizes[4][2] = {{8, 2}, {4, 1}, {2, 1}, {1, 1}};
  for (std::size_t i = 0; i < chain.size(); ++i) {
    EXPECT_EQ(chain[i].width, sizes[i][0]);
    EXPECT_EQ(chain[i].height, sizes[i][1]);
    EXPECT_EQ(chain[i].rgba.size(), std::size_t{sizes[i][0]} * sizes[i][1] * 4);
  }
}

}  // namespace
