#include "tests/support/stb_reference.h"

#include <algorithm>
#include <climits>

// Compiled with internal linkage, so that it stands beside the product's
// own stb decoder (TGA and BMP only) in one test program.
#define STB_IMAGE_STATIC
#define STB_IMAGE_IMPLEMENTATION
#define STBI_NO_STDIO
#define STBI_ONLY_PNG
#define STBI_ONLY_TGA
#define STBI_ONLY_JPEG
#define STBI_ONLY_BMP
#include <stb/stb_image.h>

namespace testsupport {

std::optional<pixels::RgbaImage> StbReferenceDecode(const std::vector<std::uint8_t>& bytes) {
  if (bytes.size() > INT_MAX) return std::nullopt;
  int width = 0;
  int height = 0;
  int channels = 0;
  stbi_uc* decoded = stbi_load_from_memory(bytes.data(), static_cast<int>(bytes.size()), &width, &height, &channels, 4);
  if (decoded == nullptr) return std::nullopt;
  pixels::RgbaImage image(static_cast<std::uint32_t>(width), static_cast<std::uint32_t>(height));
  std::copy(decoded, decoded + image.rgba.size(), image.rgba.begin());
  stbi_image_free(decoded);
  return image;
}

}  // namespace testsupport
