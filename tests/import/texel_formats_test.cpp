// Level 0 of every texture format San Andreas on PC uses, decoded to RGBA.
#include <gtest/gtest.h>

#include <squish.h>

#include <cstring>
#include <vector>

#include "import/texel_formats.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

// What follows a texture's fixed fields: the palette, then level 0's byte
// count and bytes.
Bytes Level(const Bytes& palette, const Bytes& texels) {
  Bytes data = palette;
  const auto size = static_cast<std::uint32_t>(texels.size());
  for (int i = 0; i < 4; ++i) data.push_back(static_cast<std::uint8_t>(size >> (8 * i)));
  data.insert(data.end(), texels.begin(), texels.end());
  return data;
}

dffinfo::NativeTextureRecord Texture(std::uint32_t d3dFormat, std::uint32_t rasterFormat, std::uint16_t w,
                                     std::uint16_t h) {
  dffinfo::NativeTextureRecord t;
  t.platform = 9;
  t.d3dFormat = d3dFormat;
  t.rasterFormat = rasterFormat;
  t.width = w;
  t.height = h;
  t.levelCount = 1;
  return t;
}

Bytes Decode(const dffinfo::NativeTextureRecord& t, const Bytes& data) {
  const import::DecodedLevel level = import::DecodeFirstLevel(t, data.data(), data.size());
  EXPECT_TRUE(level.problem.empty()) << level.problem;
  return level.rgba;
}

TEST(TexelFormats, UncompressedFormatsComeOutAsRgba) {
  struct Case {
    std::uint32_t d3dFormat;
    Bytes texel;
    Bytes rgba;
  } cases[] = {
      {21, {0x10, 0x20, 0x30, 0x40}, {0x30, 0x20, 0x10, 0x40}},  // A8R8G8B8: B, G, R, A
      {22, {0x10, 0x20, 0x30, 0x40}, {0x30, 0x20, 0x10, 0xFF}},  // X8R8G8B8: the fourth byte ignored
      {23, {0x1F, 0xF8}, {255, 0, 255, 255}},                    // R5G6B5: red and blue full
      {23, {0xE0, 0x07}, {0, 255, 0, 255}},                      // R5G6B5: green full
      {25, {0x00, 0x7C}, {255, 0, 0, 0}},                        // A1R5G5B5: red, alpha bit clear
      {25, {0x1F, 0x80}, {0, 0, 255, 255}},                      // A1R5G5B5: blue, alpha bit set
      {24, {0x00, 0x7C}, {255, 0, 0, 255}},                      // X1R5G5B5: always opaque
      {26, {0x21, 0x43}, {51, 34, 17, 68}},                      // A4R4G4B4
      {50, {0x80}, {0x80, 0x80, 0x80, 255}},                     // L8
      {51, {0x80, 0x40}, {0x80, 0x80, 0x80, 0x40}},              // A8L8
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Decode(Texture(c.d3dFormat, 0, 1, 1), Level({}, c.texel)), c.rgba) << "format " << c.d3dFormat;
  }
}

TEST(TexelFormats, DxtLevelsDecodeAsLibsquishDecodesThem) {
  Bytes source(8 * 8 * 4);
  for (std::size_t i = 0; i < source.size(); ++i) source[i] = static_cast<std::uint8_t>(i * 7);
  for (int flags : {squish::kDxt1, squish::kDxt3, squish::kDxt5}) {
    Bytes blocks(static_cast<std::size_t>(squish::GetStorageRequirements(8, 8, flags)));
    squish::CompressImage(source.data(), 8, 8, blocks.data(), flags);
    Bytes expected(source.size());
    squish::DecompressImage(expected.data(), 8, 8, blocks.data(), flags);
    const std::uint32_t fourcc = flags == squish::kDxt1 ? 0x31545844u : flags == squish::kDxt3 ? 0x33545844u : 0x35545844u;
    EXPECT_EQ(Decode(Texture(fourcc, 0, 8, 8), Level({}, blocks)), expected) << "flags " << flags;
  }
}

TEST(TexelFormats, PalettesGiveTheirEntriesAlphaOnlyWhereTheRasterHasIt) {
  Bytes palette(256 * 4, 0);
  const Bytes entry{10, 20, 30, 40};  // R, G, B, A
  std::memcpy(&palette[5 * 4], entry.data(), 4);
  const std::uint32_t pal8With8888 = 0x2000 | 0x0500;
  const std::uint32_t pal8With888 = 0x2000 | 0x0600;
  EXPECT_EQ(Decode(Texture(21, pal8With8888, 1, 1), Level(palette, {5})), (Bytes{10, 20, 30, 40}));
  EXPECT_EQ(Decode(Texture(22, pal8With888, 1, 1), Level(palette, {5})), (Bytes{10, 20, 30, 255}));

  Bytes palette4(16 * 4, 0);
  std::memcpy(&palette4[3 * 4], entry.data(), 4);
  // Two texels a byte, the first in the high nibble.
  EXPECT_EQ(Decode(Texture(21, 0x4000 | 0x0500, 2, 1), Level(palette4, {0x30})),
            (Bytes{10, 20, 30, 40, 0, 0, 0, 0}));
}

TEST(TexelFormats, ALevelShorterThanItsSizeOrAnUnknownFormatIsNamedNotRead) {
  const Bytes shortLevel = Level({}, Bytes(15, 0));  // 2 x 2 A8R8G8B8 takes 16
  import::DecodedLevel level = import::DecodeFirstLevel(Texture(21, 0, 2, 2), shortLevel.data(), shortLevel.size());
  EXPECT_TRUE(level.rgba.empty());
  EXPECT_NE(level.problem.find("fewer bytes"), std::string::npos);
  const Bytes oneByte = Level({}, {0});
  level = import::DecodeFirstLevel(Texture(77, 0, 1, 1), oneByte.data(), oneByte.size());
  EXPECT_TRUE(level.rgba.empty());
  EXPECT_NE(level.problem.find("D3DFMT 77"), std::string::npos);
  const Bytes cutPalette(100, 0);
  level = import::DecodeFirstLevel(Texture(21, 0x2000 | 0x0500, 1, 1), cutPalette.data(), cutPalette.size());
  EXPECT_TRUE(level.rgba.empty());
}

}  // namespace
