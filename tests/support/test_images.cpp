#include "tests/support/test_images.h"

#include <stdexcept>

#define STB_IMAGE_WRITE_IMPLEMENTATION
#define STBI_WRITE_NO_STDIO
#include <stb/stb_image_write.h>

namespace testsupport {
namespace {

void Append(void* context, void* data, int size) {
  auto* bytes = static_cast<std::vector<std::uint8_t>*>(context);
  const auto* begin = static_cast<const std::uint8_t*>(data);
  bytes->insert(bytes->end(), begin, begin + size);
}

// As high as texture packs are usually saved.
constexpr int kJpegQuality = 90;

}  // namespace

std::vector<std::uint8_t> EncodeImageFile(const pixels::RgbaImage& image, const std::string& kind) {
  std::vector<std::uint8_t> bytes;
  const int w = static_cast<int>(image.width);
  const int h = static_cast<int>(image.height);
  int ok = 0;
  if (kind == "png") ok = stbi_write_png_to_func(Append, &bytes, w, h, 4, image.rgba.data(), w * 4);
  if (kind == "tga") ok = stbi_write_tga_to_func(Append, &bytes, w, h, 4, image.rgba.data());
  if (kind == "tga-raw") {
    stbi_write_tga_with_rle = 0;
    ok = stbi_write_tga_to_func(Append, &bytes, w, h, 4, image.rgba.data());
    stbi_write_tga_with_rle = 1;
  }
  if (kind == "bmp") ok = stbi_write_bmp_to_func(Append, &bytes, w, h, 4, image.rgba.data());
  if (kind == "jpg") ok = stbi_write_jpg_to_func(Append, &bytes, w, h, 4, image.rgba.data(), kJpegQuality);
  if (ok == 0) throw std::runtime_error("cannot encode a test image as " + kind);
  return bytes;
}

pixels::RgbaImage TestPattern(std::uint32_t width, std::uint32_t height, std::uint8_t alpha) {
  pixels::RgbaImage image(width, height);
  for (std::uint32_t y = 0; y < height; ++y) {
    for (std::uint32_t x = 0; x < width; ++x) {
      std::uint8_t* t = image.texel(x, y);
      t[0] = static_cast<std::uint8_t>(x * 255 / (width > 1 ? width - 1 : 1));
      t[1] = static_cast<std::uint8_t>(y * 255 / (height > 1 ? height - 1 : 1));
      t[2] = (x / 16 + y / 16) % 2 ? 200 : 40;
      t[3] = alpha;
    }
  }
  return image;
}

}  // namespace testsupport
