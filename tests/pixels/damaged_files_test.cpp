// Damaged image files of every kind the decoder takes: each is refused with
// the file's name and what is wrong, or decodes to the size its header
// claims; none may turn into an image with made-up pixels.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "pixels/image_decoder.h"
#include "tests/support/files_and_programs.h"
#include "tests/support/stb_reference.h"
#include "tests/support/test_images.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

struct Sample {
  std::string kind;
  Bytes bytes;
};

// Small files: the sweeps below decode each several hundred times.  The
// JPEG is the fuzzer's seed (stb_image_write's JPEG encoder shifts
// negative values, which the sanitised build refuses).
std::vector<Sample> Samples() {
  const pixels::RgbaImage image = testsupport::TestPattern(7, 5, 200);
  std::vector<Sample> samples;
  for (const std::string kind : {"png", "tga", "tga-raw", "bmp"}) {
    samples.push_back({kind, testsupport::EncodeImageFile(image, kind)});
  }
  samples.push_back({"jpg", testsupport::ReadFileBytes(IMAGE_SEEDS "/pattern.jpg")});
  return samples;
}

std::string Refusal(const Bytes& bytes, const std::string& name) {
  try {
    pixels::DecodeImage(bytes, name);
  } catch (const pixels::ImageError& error) {
    return error.what();
  }
  return "";
}

TEST(DamagedImages, EveryTruncationIsRefusedNamingTheFile) {
  for (const Sample& sample : Samples()) {
    ASSERT_FALSE(sample.bytes.empty()) << "missing test input for " << sample.kind;
    const std::string name = "bonnet." + sample.kind;
    ASSERT_EQ(Refusal(sample.bytes, name), "") << name;
    for (std::size_t size = 0; size < sample.bytes.size(); ++size) {
      const Bytes cut(sample.bytes.begin(), sample.bytes.begin() + static_cast<long>(size));
      const std::string error = Refusal(cut, name);
      ASSERT_NE(error.find(name + ": "), std::string::npos)
          << name << " cut to " << size << " of " << sample.bytes.size() << " bytes: \"" << error << "\"";
    }
  }
}

// The faults as users met them: files cut well past their headers, which
// the decoder alone would have filled with zeros.
TEST(DamagedImages, ACutFileIsSaidToBeCutShort) {
  for (const Sample& sample : Samples()) {
    const Bytes cut(sample.bytes.begin(), sample.bytes.end() - 3);
    const std::string error = Refusal(cut, "bonnet." + sample.kind);
    EXPECT_NE(error.find("cut short"), std::string::npos) << sample.kind << ": " << error;
  }
}

TEST(DamagedImages, BytesAfterTheImageAreHarmless) {
  for (Sample sample : Samples()) {
    sample.bytes.insert(sample.bytes.end(), 26, 0);  // as long as a TGA footer
    EXPECT_EQ(Refusal(sample.bytes, sample.kind), "") << sample.kind;
  }
}

TEST(DamagedImages, EveryChangedByteIsRefusedOrDecodesToTheClaimedSize) {
  for (const Sample& sample : Samples()) {
    for (std::size_t at = 0; at < sample.bytes.size(); ++at) {
      for (const unsigned flip : {0x01u, 0x80u, 0xFFu}) {
        Bytes changed = sample.bytes;
        changed[at] = static_cast<std::uint8_t>(changed[at] ^ flip);
        pixels::RgbaImage image;
        try {
          image = pixels::DecodeImage(changed, sample.kind);
        } catch (const pixels::ImageError&) {
          continue;
        }
        ASSERT_EQ(image.rgba.size(), image.texelCount() * 4) << sample.kind << " byte " << at;
        // The size the header claims, as another decoder reads it.
        const std::optional<pixels::RgbaImage> reference = testsupport::StbReferenceDecode(changed);
        if (!reference) continue;
        ASSERT_EQ(image.width, reference->width) << sample.kind << " byte " << at;
        ASSERT_EQ(image.height, reference->height) << sample.kind << " byte " << at;
      }
    }
  }
}

}  // namespace
