#include "pixels/png_encoder.h"

#include <spng.h>

#include <cstdlib>
#include <memory>

namespace pixels {
namespace {

struct ContextFree {
  void operator()(spng_ctx* context) const { spng_ctx_free(context); }
};

struct BufferFree {
  void operator()(void* buffer) const { std::free(buffer); }
};

}  // namespace

std::vector<std::uint8_t> EncodePng(const RgbaImage& image, int level) {
  const std::unique_ptr<spng_ctx, ContextFree> context(spng_ctx_new(SPNG_CTX_ENCODER));
  if (!context) return {};
  spng_ctx* png = context.get();
  spng_ihdr header{};
  header.width = image.width;
  header.height = image.height;
  header.bit_depth = 8;
  header.color_type = SPNG_COLOR_TYPE_TRUECOLOR_ALPHA;
  if (spng_set_option(png, SPNG_ENCODE_TO_BUFFER, 1) != 0 || spng_set_ihdr(png, &header) != 0 ||
      spng_set_option(png, SPNG_IMG_COMPRESSION_LEVEL, level) != 0 ||
      spng_encode_image(png, image.rgba.data(), image.rgba.size(), SPNG_FMT_PNG, SPNG_ENCODE_FINALIZE) != 0) {
    return {};
  }
  std::size_t size = 0;
  int error = 0;
  const std::unique_ptr<void, BufferFree> buffer(spng_get_png_buffer(png, &size, &error));
  if (!buffer || error != 0) return {};
  const auto* bytes = static_cast<const std::uint8_t*>(buffer.get());
  return std::vector<std::uint8_t>(bytes, bytes + size);
}

}  // namespace pixels
