// Valid images decode to the pixels stb_image gave before each kind got its
// own reader: PNG, TGA and BMP byte for byte; JPEG within the rounding of
// libjpeg-turbo's inverse DCT and chroma upsampling, which differ from
// stb_image's (see kJpegTolerance).
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "pixels/image_decoder.h"
#include "tests/support/files_and_programs.h"
#include "tests/support/stb_reference.h"
#include "tests/support/test_images.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

struct Difference {
  int largest = 0;
  double mean = 0;
};

Difference Compare(const pixels::RgbaImage& decoded, const pixels::RgbaImage& reference) {
  Difference difference;
  double sum = 0;
  for (std::size_t i = 0; i < decoded.rgba.size(); ++i) {
    const int d = std::abs(int{decoded.rgba[i]} - int{reference.rgba[i]});
    difference.largest = std::max(difference.largest, d);
    sum += d;
  }
  difference.mean = sum / static_cast<double>(decoded.rgba.size());
  return difference;
}

pixels::RgbaImage Reference(const Bytes& bytes, const std::string& name) {
  const std::optional<pixels::RgbaImage> reference = testsupport::StbReferenceDecode(bytes);
  if (!reference) ADD_FAILURE() << "stb_image refuses " << name;
  return reference.value_or(pixels::RgbaImage());
}

// The fuzzer's seeds of every kind, and a larger image with smooth alpha
// written by the test suite's encoder.
TEST(SamePixels, LosslessFilesDecodeByteForByteAsBefore) {
  std::vector<std::pair<std::string, Bytes>> files;
  for (const char* seed : {"pattern.png", "palette_trns.png", "grey16_interlaced.png", "pattern.bmp",
                           "pattern_raw.tga", "pattern_rle.tga"}) {
    files.emplace_back(seed, testsupport::ReadFileBytes(std::string(IMAGE_SEEDS "/") + seed));
  }
  const pixels::RgbaImage smooth = testsupport::TestPattern(67, 45, 100);
  for (const std::string kind : {"png", "tga", "bmp"}) files.emplace_back(kind, testsupport::EncodeImageFile(smooth, kind));
  for (const auto& [name, bytes] : files) {
    ASSERT_FALSE(bytes.empty()) << "missing test input " << name;
    const pixels::RgbaImage decoded = pixels::DecodeImage(bytes, name);
    const pixels::RgbaImage reference = Reference(bytes, name);
    EXPECT_EQ(decoded.width, reference.width) << name;
    EXPECT_EQ(decoded.height, reference.height) << name;
    EXPECT_EQ(decoded.rgba, reference.rgba) << name;
  }
}

// libjpeg-turbo's accurate integer IDCT and its smooth chroma upsampling
// against stb_image's own: measured at most 2 levels in a channel, 0.17 on
// average, on this seed (and 2 and 0.015 on txd_bench's 1024 x 1024 JPEGs
// with halved chroma).
constexpr int kJpegLargestDifference = 3;
constexpr double kJpegMeanDifference = 0.5;

TEST(SamePixels, JpegFilesDecodeWithinTheRoundingOfTheIdct) {
  const Bytes bytes = testsupport::ReadFileBytes(IMAGE_SEEDS "/pattern.jpg");
  ASSERT_FALSE(bytes.empty()) << "missing test input pattern.jpg";
  const pixels::RgbaImage decoded = pixels::DecodeImage(bytes, "pattern.jpg");
  const pixels::RgbaImage reference = Reference(bytes, "pattern.jpg");
  ASSERT_EQ(decoded.width, reference.width);
  ASSERT_EQ(decoded.height, reference.height);
  const Difference difference = Compare(decoded, reference);
  EXPECT_LE(difference.largest, kJpegLargestDifference);
  EXPECT_LE(difference.mean, kJpegMeanDifference);
}

}  // namespace
