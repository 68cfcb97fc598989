// The image decoder on any bytes: each input is refused with a reason or
// decodes to whole texels of the size its header claims.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "pixels/image_decoder.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::vector<std::uint8_t> bytes(data, data + size);
  try {
    const pixels::RgbaImage image = pixels::DecodeImage(bytes, "input");
    if (image.width == 0 || image.height == 0 || image.rgba.size() != image.texelCount() * 4) std::abort();
  } catch (const pixels::ImageError&) {
  }
  return 0;
}
