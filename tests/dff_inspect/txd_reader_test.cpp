// The reader on texture dictionaries: fields as stored, the damage that
// makes readers reject or misread a dictionary, and the warnings.
#include <gtest/gtest.h>

#include <algorithm>

#include "dff_inspect/inspect.h"
#include "tests/support/files_and_programs.h"
#include "txd/pixel_format.h"
#include "txd/txd_writer.h"

namespace dffinfo {
namespace {

using Bytes = std::vector<std::uint8_t>;

// Offsets in a dictionary whose first texture is `Dxt1Texture()`.
constexpr std::size_t kCount = 24;            // the dictionary Struct's texture count
constexpr std::size_t kRecord = 52;           // the first native record
constexpr std::size_t kFirstLevelSize = kRecord + 88;

txd::NativeTexture Dxt1Texture(const std::string& name, std::uint16_t side = 8) {
  std::vector<std::vector<std::uint8_t>> levels;
  for (std::uint16_t s = side; s >= 1; s = static_cast<std::uint16_t>(s / 2)) {
    levels.emplace_back(txd::LevelByteCount(txd::PixelFormat::Dxt1, s, s), std::uint8_t{0x5A});
    if (s == 1) break;
  }
  return txd::MakeNativeTexture(name, "", txd::PixelFormat::Dxt1, false, side, side, levels);
}

Bytes Write(const std::vector<txd::NativeTexture>& textures) {
  dff::OutputStream stream;
  txd::WriteTextureDictionary(stream, textures);
  return stream.bytes();
}

bool Mentions(const Inspection& inspection, Severity severity, const std::string& text) {
  return std::any_of(inspection.findings.all().begin(), inspection.findings.all().end(), [&](const Finding& f) {
    return f.severity == severity && f.message.find(text) != std::string::npos;
  });
}

TEST(TxdReader, DecodesEveryFieldAsWritten) {
  const txd::NativeTexture glass = txd::MakeNativeTexture(
      "glass", "glassm", txd::PixelFormat::Bgra8888, true, 2, 1, {Bytes(8, 1)});
  const Inspection result = Inspect(Write({Dxt1Texture("paint"), glass}));
  EXPECT_TRUE(result.findings.all().empty()) << Describe(result.findings.all().at(0));
  ASSERT_EQ(result.dictionaries.size(), 1u);
  const TextureDictionaryRecord& d = result.dictionaries[0];
  EXPECT_EQ(d.textureCount, 2);
  EXPECT_EQ(d.deviceId, 2);
  ASSERT_EQ(d.textures.size(), 2u);
  const NativeTextureRecord& paint = d.textures[0];
  EXPECT_EQ(paint.name, "paint");
  EXPECT_EQ(paint.formatName(), "DXT1");
  EXPECT_EQ(paint.width, 8);
  EXPECT_EQ(paint.levelCount, 4);
  EXPECT_EQ(paint.levelSizes, (std::vector<std::uint32_t>{32, 8, 8, 8}));
  EXPECT_EQ(paint.rasterFormat, 0x8200u);
  EXPECT_EQ(paint.filter, 6);
  EXPECT_EQ(paint.uAddressing, 1);
  EXPECT_EQ(paint.vAddressing, 1);
  EXPECT_FALSE(paint.alpha());
  EXPECT_TRUE(paint.compressed());
  const NativeTextureRecord& g = d.textures[1];
  EXPECT_EQ(g.mask, "glassm");
  EXPECT_EQ(g.formatName(), "8888");
  EXPECT_TRUE(g.alpha());
  EXPECT_EQ(g.depth, 32);
}

TEST(TxdReader, ReportsWhatMakesReadersRejectOrMisreadADictionary) {
  Bytes countTooHigh = Write({Dxt1Texture("paint")});
  countTooHigh[kCount] = 2;
  EXPECT_TRUE(Mentions(Inspect(countTooHigh), Severity::Damage, "counts 2 textures but holds 1"));

  Bytes levelTooLong = Write({Dxt1Texture("paint")});
  levelTooLong[kFirstLevelSize] = 64;
  EXPECT_TRUE(Mentions(Inspect(levelTooLong), Severity::Damage, "level 0 stores 64 bytes"));

  Bytes notFlagged = Write({Dxt1Texture("paint")});
  notFlagged[kRecord + 0x57] = 0;
  EXPECT_TRUE(Mentions(Inspect(notFlagged), Severity::Damage, "compressed flag is clear"));

  // The last texture's Extension dropped, with every size patched to match.
  Bytes noExtension = Write({Dxt1Texture("paint")});
  noExtension.erase(noExtension.end() - 24, noExtension.end() - 12);
  for (std::size_t sizeField : {std::size_t{4}, std::size_t{28 + 4}}) noExtension[sizeField] -= 12;
  const Inspection missing = Inspect(noExtension);
  EXPECT_TRUE(Mentions(missing, Severity::Damage, "holds no Extension"));

  const Bytes file = Write({Dxt1Texture("paint")});
  EXPECT_FALSE(Inspect(Bytes(file.begin(), file.end() - 30)).sound());
}

TEST(TxdReader, WarnsOfWhatLoadsButMayNotShowAsMeant) {
  Bytes bytes = Write({Dxt1Texture("Paint"), Dxt1Texture("paint")});
  const Inspection twice = Inspect(bytes);
  EXPECT_TRUE(twice.sound());
  EXPECT_TRUE(Mentions(twice, Severity::Warning, "is that of texture 0"));

  txd::NativeTexture odd = txd::MakeNativeTexture("odd", "", txd::PixelFormat::Bgrx888, false, 3, 2,
                                                  {Bytes(24), Bytes(4)});
  odd.rasterFormat = txd::kRaster888;  // two levels, no mipmap flag
  const Inspection oddResult = Inspect(Write({odd}));
  EXPECT_TRUE(Mentions(oddResult, Severity::Warning, "powers of two"));
  EXPECT_TRUE(Mentions(oddResult, Severity::Warning, "mipmap flag (0x8000) is clear"));
  EXPECT_TRUE(oddResult.sound());  // 6 x 4 bytes, then 1 x 1 x 4: the counts are right
}

TEST(TxdReader, WarnsOfANameWithoutItsTerminator) {
  Bytes bytes = Write({Dxt1Texture("paint")});
  std::fill(bytes.begin() + kRecord + 8, bytes.begin() + kRecord + 40, std::uint8_t{'n'});
  const Inspection result = Inspect(bytes);
  EXPECT_TRUE(Mentions(result, Severity::Warning, "no terminating zero"));
  EXPECT_EQ(result.dictionaries.at(0).textures.at(0).name, std::string(32, 'n'));
}

TEST(TxdReader, LevelsPastTheSixteenthAreOneTexelSquare) {
  // A record may claim up to 255 levels; a 16-bit side is 1 from level 16 on.
  std::vector<std::vector<std::uint8_t>> levels;
  for (unsigned level = 0; level < 40; ++level) {
    const auto side = static_cast<std::uint16_t>(level >= 15 ? 1 : 0x8000u >> level);
    levels.emplace_back(txd::LevelByteCount(txd::PixelFormat::Dxt1, side, 1), std::uint8_t{0});
  }
  const Inspection result =
      Inspect(Write({txd::MakeNativeTexture("tall", "", txd::PixelFormat::Dxt1, false, 0x8000, 1, levels)}));
  EXPECT_FALSE(Mentions(result, Severity::Damage, "where its size and format take"));

  // What the fuzzer found: 255 levels claimed on a 65,344 x 65,535 texture.
  const Bytes bytes = testsupport::ReadFileBytes(FOUND_BY_FUZZING "/txd_255_levels.txd");
  ASSERT_FALSE(bytes.empty()) << "missing test input " FOUND_BY_FUZZING "/txd_255_levels.txd";
  EXPECT_FALSE(Inspect(bytes).sound());
}

TEST(TxdReader, SurvivesEveryTruncation) {
  const Bytes file = Write({Dxt1Texture("paint"), Dxt1Texture("glass", 4)});
  for (std::size_t length = 0; length < file.size(); ++length) {
    const Inspection result = Inspect(Bytes(file.begin(), file.begin() + static_cast<long>(length)));
    EXPECT_FALSE(result.sound()) << length;
  }
}

}  // namespace
}  // namespace dffinfo
