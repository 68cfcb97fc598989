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
  // Within each side's limit, but too many texels in all.
  EXPECT_NE(DecodeError(TgaClaiming(16384, 16384)).find("scale it down"), std::string::npos);
}

// JPEGs whose Huffman table counts more than 256 codes, within its segment
// or reaching past it, and behind a start marker after fill bytes, which
// the decoder takes too: stb_image would write the codes past the end of
// its table.
TEST(DecodeImage, RefusesAJpegHuffmanTableTooLongForTheDecoder) {
  for (const char* file : {"jpeg_huffman_table_overflow.jpg", "jpeg_huffman_table_past_its_segment.jpg",
                           "jpeg_start_after_fill_bytes.jpg"}) {
    const std::vector<std::uint8_t> bytes = testsupport::ReadFileBytes(std::string(FOUND_BY_FUZZING "/") + file);
    ASSERT_FALSE(bytes.empty()) << "missing test input " << file;
    // Refused by our checks, before the decoder reads the file.
    EXPECT_NE(DecodeError(bytes).find(": the JPEG "), std::string::npos) << file << ": " << DecodeError(bytes);
  }
}

}  // namespace
