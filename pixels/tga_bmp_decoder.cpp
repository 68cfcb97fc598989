#include "pixels/tga_bmp_decoder.h"

#include <algorithm>
#include <climits>
#include <memory>
#include <optional>

#include "pixels/image_error.h"
#include "pixels/image_file_checks.h"
#include "pixels/image_size_limit.h"
#include "pixels/stb.h"

namespace pixels {
namespace {

struct StbFree {
  void operator()(stbi_uc* data) const { stbi_image_free(data); }
};

}  // namespace

RgbaImage DecodeTgaOrBmp(const std::vector<std::uint8_t>& bytes, const std::string& name) {
  if (bytes.size() > INT_MAX) RefuseImage(name, "the file is larger than 2 GiB");
  const int length = static_cast<int>(bytes.size());
  int width = 0;
  int height = 0;
  int channels = 0;
  // The header first, so that the size is checked before any allocation.
  if (stbi_info_from_memory(bytes.data(), length, &width, &height, &channels) == 0) {
    RefuseImage(name, std::string(stbi_failure_reason()) + " (not a PNG, TGA, JPEG or BMP file, or damaged)");
  }
  CheckImageSize(static_cast<std::uint64_t>(std::max(width, 0)), static_cast<std::uint64_t>(std::max(height, 0)), name);
  if (const std::optional<std::string> damage = FindDamage(bytes, KindOf(bytes))) RefuseImage(name, *damage);
  std::unique_ptr<stbi_uc, StbFree> decoded(
      stbi_load_from_memory(bytes.data(), length, &width, &height, &channels, 4));
  if (!decoded) RefuseImage(name, stbi_failure_reason());
  RgbaImage image(static_cast<std::uint32_t>(width), static_cast<std::uint32_t>(height));
  std::copy(decoded.get(), decoded.get() + image.rgba.size(), image.rgba.begin());
  return image;
}

}  // namespace pixels
