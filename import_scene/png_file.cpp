#include "import_scene/png_file.h"

#include <climits>

#include "import_scene/png_code.h"

namespace import_scene {
namespace {

void Append(void* context, void* data, int size) {
  auto* bytes = static_cast<std::vector<std::uint8_t>*>(context);
  const auto* begin = static_cast<const std::uint8_t*>(data);
  bytes->insert(bytes->end(), begin, begin + size);
}

}  // namespace

std::vector<std::uint8_t> EncodePng(const std::vector<std::uint8_t>& rgba, std::uint32_t width, std::uint32_t height) {
  std::vector<std::uint8_t> bytes;
  if (width == 0 || height == 0 || width > INT_MAX / 4 || height > INT_MAX ||
      rgba.size() != std::size_t{width} * height * 4) {
    return bytes;
  }
  const int w = static_cast<int>(width);
  if (velmora_encode_png(Append, &bytes, w, static_cast<int>(height), rgba.data()) == 0) bytes.clear();
  return bytes;
}

}  // namespace import_scene
