#include "pixels/image_decoder.h"

#include <climits>
#include <memory>
#include <optional>

#include "pixels/image_file_checks.h"
#include "pixels/stb.h"

namespace pixels {
namespace {

struct StbFree {
  void operator()(stbi_uc* data) const { stbi_image_free(data); }
};

[[noreturn]] void Refuse(const std::string& name, const std::string& reason) {
  throw ImageError("cannot decode the image " + name + ": " + reason);
}

}  // namespace

RgbaImage DecodeImage(const std::vector<std::uint8_t>& bytes, const std::string& name) {
  if (bytes.empty()) Refuse(name, "the file is empty");
  if (bytes.size() > INT_MAX) Refuse(name, "the file is larger than 2 GiB");
  const int length = static_cast<int>(bytes.size());
  int width = 0;
  int height = 0;
  int channels = 0;
  // Files with a signature are checked before the decoder reads them at
  // all; its header reading is not safe on every damaged JPEG.
  const ImageKind kind = KindOf(bytes);
  if (kind != ImageKind::Unsigned) {
    if (const std::optional<std::string> damage = FindDamage(bytes, kind)) Refuse(name, *damage);
  }
  // The header first, so that the size is checked before any allocation.
  if (stbi_info_from_memory(bytes.data(), length, &width, &height, &channels) == 0) {
    Refuse(name, std::string(stbi_failure_reason()) + " (not a PNG, TGA, JPEG or BMP file, or damaged)");
  }
  if (width <= 0 || height <= 0) Refuse(name, "it has no pixels");
  const auto w = static_cast<std::uint32_t>(width);
  const auto h = static_cast<std::uint32_t>(height);
  if (w > kMaxImageSide || h > kMaxImageSide || std::uint64_t{w} * h > kMaxImageTexels) {
    Refuse(name, "it is " + std::to_string(w) + " x " + std::to_string(h) +
                     " pixels; images of up to " + std::to_string(kMaxImageSide) +
                     " pixels a side and " + std::to_string(kMaxImageTexels) +
                     " pixels in all are taken (scale it down first)");
  }
  if (kind == ImageKind::Unsigned) {
    if (const std::optional<std::string> damage = FindDamage(bytes, kind)) Refuse(name, *damage);
  }
  std::unique_ptr<stbi_uc, StbFree> decoded(
      stbi_load_from_memory(bytes.data(), length, &width, &height, &channels, 4));
  if (!decoded) Refuse(name, stbi_failure_reason());
  if (static_cast<std::uint32_t>(width) != w || static_cast<std::uint32_t>(height) != h) {
    Refuse(name, "its header claims " + std::to_string(w) + " x " + std::to_string(h) + " pixels, but " +
                     std::to_string(width) + " x " + std::to_string(height) + " were decoded");
  }
  RgbaImage image(w, h);
  std::copy(decoded.get(), decoded.get() + image.rgba.size(), image.rgba.begin());
  return image;
}

}  // namespace pixels
