// Level 0 of every texture format San Andreas on PC uses, decoded to RGBA;
// what cannot be decoded named.
#include <gtest/gtest.h>

#include <squish.h>

#include <cstring>
#include <vector>

#include "texels/first_level.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

void PutU32(Bytes& out, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

// A texture's Struct: its header, the 88 fixed bytes (left zero: the
// record carries their values), then `stored`: the palette, then level 0's
// byte count and bytes.
Bytes Struct(const Bytes& stored) {
  Bytes data;
  PutU32(data, 1);
  PutU32(data, static_cast<std::uint32_t>(88 + stored.size()));
  PutU32(data, 0x1803FFFF);
  data.resize(data.size() + 88, 0);
  data.insert(data.end(), stored.begin(), stored.end());
  return data;
}

Bytes Level(const Bytes& palette, const Bytes& texels) {
  Bytes data = palette;
  PutU32(data, static_cast<std::uint32_t>(texels.size()));
  data.insert(data.end(), texels.begin(), texels.end());
  return Struct(data);
}

texels::DecodedLevel DecodeLevel(const dffinfo::NativeTextureRecord& t, const Bytes& file) {
  return texels::DecodeFirstLevel({file.data(), file.size()}, t);
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
  const texels::DecodedLevel level = DecodeLevel(t, data);
  EXPECT_TRUE(level.problem.empty()) << level.problem;
  return level.rgba;
}

TEST(FirstLevel, UncompressedFormatsComeOutAsRgba) {
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

TEST(FirstLevel, DxtLevelsDecodeAsLibsquishDecodesThem) {
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

TEST(FirstLevel, PalettesGiveTheirEntriesAlphaOnlyWhereTheRasterHasIt) {
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

TEST(FirstLevel, WhatCannotBeDecodedIsNamedNotRead) {
  struct Case {
    const char* what;
    dffinfo::NativeTextureRecord texture;
    Bytes file;
    const char* problem;
  } cases[] = {
      {"a level shorter than its size", Texture(21, 0, 2, 2), Level({}, Bytes(15, 0)), "fewer bytes"},
      {"an unknown format", Texture(77, 0, 1, 1), Level({}, {0}), "D3DFMT 77"},
      {"a palette cut short", Texture(21, 0x2000 | 0x0500, 1, 1), Struct(Bytes(100, 0)), "palette"},
      {"no texels", Texture(21, 0, 0, 4), Level({}, {}), "no texels"},
      {"a Struct cut before its fixed fields", Texture(21, 0, 1, 1), Bytes(40, 0), "fixed fields"},
  };
  for (const Case& c : cases) {
    const texels::DecodedLevel level = DecodeLevel(c.texture, c.file);
    EXPECT_TRUE(level.rgba.empty()) << c.what;
    EXPECT_NE(level.problem.find(c.problem), std::string::npos) << c.what << ": " << level.problem;
  }
  dffinfo::NativeTextureRecord otherPlatform = Texture(21, 0, 1, 1);
  otherPlatform.platform = 8;
  EXPECT_NE(DecodeLevel(otherPlatform, Level({}, Bytes(4, 0))).problem.find("Direct3D 9"), std::string::npos);
}

}  // namespace
