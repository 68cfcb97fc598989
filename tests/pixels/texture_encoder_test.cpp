// From an image to a native texture: the format chosen from the alpha, the
// size, and the mip levels.
#include <gtest/gtest.h>

#include "pixels/texture_encoder.h"
#include "tests/support/test_images.h"

namespace {

using pixels::AlphaKind;
using pixels::Compression;
using pixels::EncodeOptions;
using pixels::RgbaImage;
using txd::PixelFormat;

TEST(ChooseFormat, FollowsTheImagesAlpha) {
  EXPECT_EQ(pixels::ChooseFormat(Compression::Auto, AlphaKind::Opaque), PixelFormat::Dxt1);
  EXPECT_EQ(pixels::ChooseFormat(Compression::Auto, AlphaKind::Binary), PixelFormat::Dxt1OneBitAlpha);
  EXPECT_EQ(pixels::ChooseFormat(Compression::Auto, AlphaKind::Smooth), PixelFormat::Dxt5);
  EXPECT_EQ(pixels::ChooseFormat(Compression::Dxt1, AlphaKind::Smooth), PixelFormat::Dxt1OneBitAlpha);
  EXPECT_EQ(pixels::ChooseFormat(Compression::Dxt3, AlphaKind::Opaque), PixelFormat::Dxt3);
  EXPECT_EQ(pixels::ChooseFormat(Compression::None, AlphaKind::Opaque), PixelFormat::Bgrx888);
  EXPECT_EQ(pixels::ChooseFormat(Compression::None, AlphaKind::Binary), PixelFormat::Bgra8888);
}

TEST(ClassifyAlpha, TellsOpaqueCutOutAndSmooth) {
  RgbaImage image = testsupport::TestPattern(4, 4);
  EXPECT_EQ(pixels::ClassifyAlpha(image), AlphaKind::Opaque);
  image.texel(1, 1)[3] = 0;
  EXPECT_EQ(pixels::ClassifyAlpha(image), AlphaKind::Binary);
  image.texel(2, 2)[3] = 254;
  EXPECT_EQ(pixels::ClassifyAlpha(image), AlphaKind::Smooth);
}

TEST(EncodeTexture, MakesPowerOfTwoSizesWithAFullChain) {
  const txd::NativeTexture t =
      pixels::EncodeTexture("body", "", testsupport::TestPattern(300, 200), std::nullopt, EncodeOptions{});
  EXPECT_EQ(t.width, 256);
  EXPECT_EQ(t.height, 256);
  ASSERT_EQ(t.levels.size(), 9u);
  for (std::size_t l = 0; l < t.levels.size(); ++l) {
    const auto side = static_cast<std::uint32_t>(256u >> l);
    EXPECT_EQ(t.levels[l].size(), txd::LevelByteCount(PixelFormat::Dxt1, side, side)) << l;
  }
  EXPECT_EQ(t.rasterFormat, txd::kRaster565 | txd::kRasterHasMipmaps);
  EXPECT_EQ(t.flags, txd::kFlagCompressed);
  EXPECT_EQ(t.filter, txd::kFilterLinearMipLinear);
}

TEST(EncodeTexture, HonoursTheLimitAndTheMipmapChoice) {
  EncodeOptions options;
  options.maxSize = 64;
  options.mipmaps = false;
  options.compression = Compression::None;
  const txd::NativeTexture t = pixels::EncodeTexture("sign", "", testsupport::TestPattern(500, 16, 100),
                                                     std::nullopt, options);
  EXPECT_EQ(t.width, 64);
  EXPECT_EQ(t.height, 16);
  ASSERT_EQ(t.levels.size(), 1u);
  EXPECT_EQ(t.levels[0].size(), 64u * 16u * 4u);
  EXPECT_EQ(t.rasterFormat, txd::kRaster8888);
  EXPECT_EQ(t.filter, txd::kFilterLinear);
}

TEST(EncodeTexture, GrowsTinyImagesToOneWholeBlockForDxt) {
  const txd::NativeTexture t =
      pixels::EncodeTexture("dot", "", testsupport::TestPattern(1, 2), std::nullopt, EncodeOptions{});
  EXPECT_EQ(t.width, 4);
  EXPECT_EQ(t.height, 4);
  EXPECT_EQ(t.levels.size(), 3u);
}

TEST(EncodeTexture, TakesAlphaFromTheMask) {
  RgbaImage mask(16, 16);  // black: fully transparent
  for (std::size_t i = 3; i < mask.rgba.size(); i += 4) mask.rgba[i] = 255;
  mask.texel(0, 0)[0] = mask.texel(0, 0)[1] = mask.texel(0, 0)[2] = 255;
  const txd::NativeTexture t =
      pixels::EncodeTexture("grille", "grillem", testsupport::TestPattern(16, 16), mask, EncodeOptions{});
  EXPECT_EQ(t.mask, "grillem");
  EXPECT_EQ(t.d3dFormat, txd::kD3dDxt1);
  EXPECT_EQ(t.rasterFormat & 0x0F00u, txd::kRaster1555);
  EXPECT_EQ(t.flags, txd::kFlagCompressed | txd::kFlagAlpha);
}

}  // namespace
