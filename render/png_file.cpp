#include "render/png_file.h"

#include "render/png_encoding.h"

namespace render {
namespace {

void Append(void* context, void* data, int size) {
  auto* bytes = static_cast<std::vector<std::uint8_t>*>(context);
  const auto* begin = static_cast<const std::uint8_t*>(data);
  bytes->insert(bytes->end(), begin, begin + size);
}

}  // namespace

std::vector<std::uint8_t> EncodePng(const pixels::RgbaImage& image) {
  std::vector<std::uint8_t> bytes;
  if (render_encode_png(image.rgba.data(), static_cast<int>(image.width), static_cast<int>(image.height),
                        Append, &bytes) == 0) {
    bytes.clear();
  }
  return bytes;
}

}  // namespace render
