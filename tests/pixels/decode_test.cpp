// Decoding: every file kind maketxd looks for, and files that must be
// refused with the file's name and a reason, never a crash or a huge
// allocation.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "pixels/image_decoder.h"
#include "tests/support/files_and_programs.h"
#include "tests/support/test_images.h"

namespace {

using pixels::DecodeImage;
using pixels::ImageError;

std::string DecodeError(const std::vector<std::uint8_t>& bytes) {
  try {
    DecodeImage(bytes, "wheel.png");
  } catch (const ImageError& error) {
    return error.what();
  }
  return "";
}

void PutLittleEndian16(std::vector<std::uint8_t>& bytes, std::size_t offset, std::uint32_t value) {
  bytes[offset] = static_cast<std::uint8_t>(value);
  bytes[offset + 1] = static_cast<std::uint8_t>(value >> 8);
}

// A plain TGA whose header claims the given size: the decoder must judge it
// by its header before it allocates anything.
std::vector<std::uint8_t> TgaClaiming(std::uint32_t width, std::uint32_t height) {
  std::vector<std::uint8_t> tga = testsupport::EncodeImageFile(testsupport::TestPattern(4, 4), "tga-raw");
  PutLittleEndian16(tga, 12, width);
  PutLittleEndian16(tga, 14, height);
  return tga;
}

using Bytes = std::vector<std::uint8_t>;

std::uint32_t BigEndian32(const Bytes& bytes, std::size_t at) {
  return std::uint32_t{bytes[at]} << 24 | std::uint32_t{bytes[at + 1]} << 16 | std::uint32_t{bytes[at + 2]} << 8 |
         bytes[at + 3];
}

void PutBigEndian32(Bytes& bytes, std::size_t at, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) bytes[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(value >> (24 - 8 * i));
}

// The PNG chunk at `at` given a checksum that matches its data again.
void ResealPngChunk(Bytes& png, std::size_t at) {
  const std::size_t end = at + 8 + BigEndian32(png, at);
  std::uint32_t crc = 0xFFFFFFFFu;
  for (std::size_t i = at + 4; i < end; ++i) {
    crc ^= png[i];
    for (int k = 0; k < 8; ++k) crc = (crc & 1) != 0 ? 0xEDB88320u ^ (crc >> 1) : crc >> 1;
  }
  PutBigEndian32(png, end, crc ^ 0xFFFFFFFFu);
}

// The JPEG seed with its frame header's height and width changed.
Bytes JpegClaiming(std::uint16_t width, std::uint16_t height) {
  Bytes jpeg = testsupport::ReadFileBytes(IMAGE_SEEDS "/pattern.jpg");
  for (std::size_t at = 2; at + 9 < jpeg.size(); ++at) {
    if (jpeg[at] != 0xFF || jpeg[at + 1] != 0xC0) continue;
    jpeg[at + 5] = static_cast<std::uint8_t>(height >> 8);
    jpeg[at + 6] = static_cast<std::uint8_t>(height);
    jpeg[at + 7] = static_cast<std::uint8_t>(width >> 8);
    jpeg[at + 8] = static_cast<std::uint8_t>(width);
    return jpeg;
  }
  ADD_FAILURE() << "the JPEG seed has no baseline frame header";
  return jpeg;
}

TEST(DecodeImage, ReadsEachFileKindAsRgba) {
  const pixels::RgbaImage source = testsupport::TestPattern(5, 3, 128);
  for (const std::string kind : {"png", "tga", "bmp"}) {
    const pixels::RgbaImage decoded = DecodeImage(testsupport::EncodeImageFile(source, kind), kind);
    EXPECT_EQ(decoded.width, 5u) << kind;
    EXPECT_EQ(decoded.height, 3u) << kind;
    EXPECT_EQ(decoded.rgba, source.rgba) << kind;
  }
}

TEST(DecodeImage, RefusesDamagedFilesNamingTheFileAndTheReason) {
  std::vector<std::uint8_t> png = testsupport::EncodeImageFile(testsupport::TestPattern(64, 64), "png");
  const std::vector<std::uint8_t> truncated(png.begin(), png.begin() + static_cast<long>(png.size() / 2));
  const std::vector<std::uint8_t> headerOnly(png.begin(), png.begin() + 20);
  const std::vector<std::uint8_t> notAnImage = {'h', 'e', 'l', 'l', 'o', ' ', 'w', 'o', 'r', 'l', 'd'};
  for (const std::vector<std::uint8_t>& bad :
       {truncated, headerOnly, notAnImage, std::vector<std::uint8_t>()}) {
    const std::string error = DecodeError(bad);
    EXPECT_NE(error.find("wheel.png: "), std::string::npos) << error;
    EXPECT_GT(error.size(), std::string("cannot decode the image wheel.png: ").size()) << error;
  }
}

TEST(DecodeImage, RefusesImagesWithoutPixelsOrTooLargeToTake) {
  EXPECT_NE(DecodeError(TgaClaiming(0, 16)), "");
  EXPECT_NE(DecodeError(TgaClaiming(16, 0)), "");
  const std::string wide = DecodeError(TgaClaiming(60000, 1));
  EXPECT_NE(wide.find("60000 x 1 pixels"), std::string::npos) << wide;
  EXPECT_NE(DecodeError(TgaClaiming(8193, 16)).find("scale it down"), std::string::npos);
  EXPECT_NE(DecodeError(JpegClaiming(16, 9000)).find("16 x 9000 pixels"), std::string::npos);
}

// Small files claiming the largest size taken: refused for the data they
// lack, before their pixels are given memory (the fuzzer's memory limit
// would catch a decoder that allocated first).
TEST(DecodeImage, RefusesSmallFilesClaimingLargeImages) {
  Bytes png = testsupport::EncodeImageFile(testsupport::TestPattern(4, 4), "png");
  PutBigEndian32(png, 16, pixels::kMaxImageSide);
  PutBigEndian32(png, 20, pixels::kMaxImageSide);
  ResealPngChunk(png, 8);
  EXPECT_NE(DecodeError(png).find("bytes of compressed image data"), std::string::npos) << DecodeError(png);
  const std::string jpeg = DecodeError(JpegClaiming(8192, 8192));
  EXPECT_NE(jpeg.find("wheel.png: the JPEG data is damaged"), std::string::npos) << jpeg;
}

// Damage the PNG and JPEG decoders would pass over or patch up: a wrong
// checksum of the image data, and JPEG scan data cut short before its end
// marker, which used to decode with zeros for what was missing.
TEST(DecodeImage, RefusesDamageTheDecodersWouldPassOver) {
  Bytes png = testsupport::EncodeImageFile(testsupport::TestPattern(16, 16), "png");
  const std::size_t imageData = 8 + 12 + BigEndian32(png, 8);
  png[imageData + 8 + BigEndian32(png, imageData)] ^= 1;
  EXPECT_NE(DecodeError(png).find("checksum does not match"), std::string::npos) << DecodeError(png);

  const Bytes jpeg = testsupport::ReadFileBytes(IMAGE_SEEDS "/pattern.jpg");
  ASSERT_GT(jpeg.size(), 40u);
  Bytes shortScan(jpeg.begin(), jpeg.end() - 30);
  shortScan.insert(shortScan.end(), {0xFF, 0xD9});
  EXPECT_NE(DecodeError(shortScan).find("Corrupt JPEG data"), std::string::npos) << DecodeError(shortScan);
}

// The fuzzer's finds: JPEGs whose Huffman table counts more than 256 codes,
// within its segment or reaching past it; one whose start marker follows
// fill bytes; and one whose damaged scan data made the bit reader shift
// past 32 bits.  Each is refused with the file's name and a reason, and the
// sanitised build reports nothing while reading them.
TEST(DecodeImage, RefusesTheJpegsFoundByFuzzing) {
  for (const char* file : {"jpeg_huffman_table_overflow.jpg", "jpeg_huffman_table_past_its_segment.jpg",
                           "jpeg_start_after_fill_bytes.jpg", "jpeg_scan_data_shift_exponent.jpg"}) {
    const std::vector<std::uint8_t> bytes = testsupport::ReadFileBytes(std::string(FOUND_BY_FUZZING "/") + file);
    ASSERT_FALSE(bytes.empty()) << "missing test input " << file;
    const std::string error = DecodeError(bytes);
    EXPECT_NE(error.find("wheel.png: "), std::string::npos) << file << ": " << error;
    EXPECT_GT(error.size(), std::string("cannot decode the image wheel.png: ").size()) << error;
  }
}

}  // namespace
