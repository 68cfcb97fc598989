// The dictionary writer against byte layouts worked out from public
// descriptions of the format and the game's own files.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "txd/pixel_format.h"
#include "txd/txd_writer.h"

namespace {

std::vector<std::uint8_t> Write(const std::vector<txd::NativeTexture>& textures) {
  dff::OutputStream stream;
  txd::WriteTextureDictionary(stream, textures);
  EXPECT_FALSE(stream.failed()) << stream.error();
  return stream.bytes();
}

std::uint32_t U32At(const std::vector<std::uint8_t>& bytes, std::size_t offset) {
  return std::uint32_t{bytes.at(offset)} | std::uint32_t{bytes.at(offset + 1)} << 8 |
         std::uint32_t{bytes.at(offset + 2)} << 16 | std::uint32_t{bytes.at(offset + 3)} << 24;
}

// One 4x4 opaque DXT1 texture "test" of one solid red block, no mip levels.
TEST(TxdWriter, OneDxt1TextureMatchesTheKnownFileByteForByte) {
  const std::vector<std::uint8_t> block = {0x00, 0xF8, 0, 0, 0, 0, 0, 0};
  const txd::NativeTexture texture =
      txd::MakeNativeTexture("test", "", txd::PixelFormat::Dxt1, false, 4, 4, {block});
  const std::vector<std::uint8_t> expected = {
      0x16, 0, 0, 0, 0xA4, 0, 0, 0, 0xFF, 0xFF, 0x03, 0x18,  // TextureDictionary, 164
      0x01, 0, 0, 0, 0x04, 0, 0, 0, 0xFF, 0xFF, 0x03, 0x18,  // Struct, 4
      0x01, 0x00, 0x02, 0x00,                                // 1 texture, device D3D9
      0x15, 0, 0, 0, 0x7C, 0, 0, 0, 0xFF, 0xFF, 0x03, 0x18,  // TextureNative, 124
      0x01, 0, 0, 0, 0x64, 0, 0, 0, 0xFF, 0xFF, 0x03, 0x18,  // Struct, 100
      0x09, 0, 0, 0,                                         // platform
      0x02, 0x11, 0, 0,                                      // linear, wrap/wrap
      't', 'e', 's', 't', 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
      0, 0, 0, 0,
      0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
      0x00, 0x02, 0, 0,                                      // raster format 565
      'D', 'X', 'T', '1',
      0x04, 0x00, 0x04, 0x00,                                // 4 x 4
      0x10, 0x01, 0x04, 0x08,                                // depth, levels, type, flags
      0x08, 0, 0, 0, 0x00, 0xF8, 0, 0, 0, 0, 0, 0,           // level 0
      0x03, 0, 0, 0, 0, 0, 0, 0, 0xFF, 0xFF, 0x03, 0x18,     // texture Extension
      0x03, 0, 0, 0, 0, 0, 0, 0, 0xFF, 0xFF, 0x03, 0x18,     // dictionary Extension
  };
  EXPECT_EQ(Write({texture}), expected);
}

TEST(TxdWriter, SizesCountEveryLevelAndEveryTexture) {
  // 8x8 DXT5 with its full chain: 4 levels of one 16-byte block or more.
  std::vector<std::vector<std::uint8_t>> levels = {std::vector<std::uint8_t>(64),
                                                   std::vector<std::uint8_t>(16),
                                                   std::vector<std::uint8_t>(16),
                                                   std::vector<std::uint8_t>(16)};
  const txd::NativeTexture mipped =
      txd::MakeNativeTexture("glass", "", txd::PixelFormat::Dxt5, true, 8, 8, levels);
  const txd::NativeTexture plain = txd::MakeNativeTexture(
      "plate", "platem", txd::PixelFormat::Bgra8888, true, 1, 1, {std::vector<std::uint8_t>(4)});
  const std::vector<std::uint8_t> bytes = Write({mipped, plain});

  const std::size_t firstStruct = 12 + 16 + 12;
  const std::uint32_t firstRecord = 88 + (4 + 64) + 3 * (4 + 16);
  EXPECT_EQ(U32At(bytes, firstStruct + 4), firstRecord);
  EXPECT_EQ(U32At(bytes, 28 + 4), 12 + firstRecord + 12);
  const std::size_t second = 28 + 12 + 12 + firstRecord + 12;
  EXPECT_EQ(U32At(bytes, second), 0x15u);
  EXPECT_EQ(U32At(bytes, second + 4), 12u + 88u + 8u + 12u);
  EXPECT_EQ(U32At(bytes, 4), bytes.size() - 12);
  EXPECT_EQ(bytes[24], 2);  // texture count

  const std::size_t record = firstStruct + 12;
  EXPECT_EQ(bytes[record + 4], txd::kFilterLinearMipLinear);
  EXPECT_EQ(U32At(bytes, record + 0x48), 0x8300u);  // 4444 class with mipmaps
  EXPECT_EQ(U32At(bytes, record + 0x4C), 0x35545844u);
  EXPECT_EQ(bytes[record + 0x55], 4);
  EXPECT_EQ(bytes[record + 0x57], 0x09);  // alpha, compressed

  const std::size_t plainRecord = second + 24;
  EXPECT_EQ(bytes[plainRecord + 4], txd::kFilterLinear);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(&bytes[plainRecord + 0x28])), "platem");
  EXPECT_EQ(U32At(bytes, plainRecord + 0x48), 0x0500u);
  EXPECT_EQ(U32At(bytes, plainRecord + 0x4C), 21u);
  EXPECT_EQ(bytes[plainRecord + 0x54], 32);
  EXPECT_EQ(bytes[plainRecord + 0x57], 0x01);
}

TEST(TxdWriter, DeclaresEachFormatAsTheGameExpects) {
  struct Case {
    txd::PixelFormat format;
    bool alpha;
    std::uint32_t raster;
    std::uint32_t d3d;
    std::uint8_t depth;
    std::uint8_t flags;
  };
  const Case cases[] = {
      {txd::PixelFormat::Dxt1, false, 0x0200, 0x31545844, 16, 0x08},
      {txd::PixelFormat::Dxt1OneBitAlpha, true, 0x0100, 0x31545844, 16, 0x09},
      {txd::PixelFormat::Dxt3, true, 0x0300, 0x33545844, 16, 0x09},
      {txd::PixelFormat::Dxt5, false, 0x0300, 0x35545844, 16, 0x08},
      {txd::PixelFormat::Bgra8888, true, 0x0500, 21, 32, 0x01},
      {txd::PixelFormat::Bgrx888, false, 0x0600, 22, 32, 0x00},
  };
  for (const Case& c : cases) {
    const txd::NativeTexture t = txd::MakeNativeTexture("t", "", c.format, c.alpha, 4, 4, {{}});
    EXPECT_EQ(t.rasterFormat, c.raster) << txd::FormatName(c.format);
    EXPECT_EQ(t.d3dFormat, c.d3d) << txd::FormatName(c.format);
    EXPECT_EQ(t.depth, c.depth) << txd::FormatName(c.format);
    EXPECT_EQ(t.flags, c.flags) << txd::FormatName(c.format);
  }
}

TEST(TxdWriter, LevelByteCountsRoundUpToWholeBlocks) {
  EXPECT_EQ(txd::LevelByteCount(txd::PixelFormat::Dxt1, 256, 256), 32768u);
  EXPECT_EQ(txd::LevelByteCount(txd::PixelFormat::Dxt1, 2, 2), 8u);
  EXPECT_EQ(txd::LevelByteCount(txd::PixelFormat::Dxt1, 1, 1), 8u);
  EXPECT_EQ(txd::LevelByteCount(txd::PixelFormat::Dxt5, 8, 2), 32u);
  EXPECT_EQ(txd::LevelByteCount(txd::PixelFormat::Bgrx888, 3, 1), 12u);
}

TEST(TxdWriter, RefusesWhatItsFieldsCannotHold) {
  txd::NativeTexture longName = txd::MakeNativeTexture(std::string(32, 'n'), "",
                                                       txd::PixelFormat::Dxt1, false, 4, 4, {{}});
  txd::NativeTexture longMask = longName;
  longMask.name = "ok";
  longMask.mask = std::string(32, 'm');
  txd::NativeTexture noLevels = longMask;
  noLevels.mask.clear();
  noLevels.levels.clear();
  for (const txd::NativeTexture& bad : {longName, longMask, noLevels}) {
    dff::OutputStream stream;
    txd::WriteTextureDictionary(stream, {bad});
    EXPECT_TRUE(stream.failed());
    EXPECT_FALSE(stream.error().empty());
  }
  // 31 bytes still fit with their terminating zero.
  EXPECT_EQ(txd::CheckNativeTexture(txd::MakeNativeTexture(
                std::string(31, 'n'), std::string(31, 'm'), txd::PixelFormat::Dxt1, false, 4, 4, {{}})),
            "");
}

}  // namespace
