#include "pixels/png_decoder.h"

#include <spng.h>

#include <memory>
#include <optional>

#include "pixels/image_error.h"
#include "pixels/image_file_checks.h"
#include "pixels/image_size_limit.h"

namespace pixels {
namespace {

// Text, profiles and other chunks the decoder keeps aside: none needs
// more than a few kilobytes, so a file claiming more is damaged.
constexpr std::size_t kLargestChunk = std::size_t{8} << 20;
constexpr std::size_t kChunkMemory = std::size_t{32} << 20;

struct ContextFree {
  void operator()(spng_ctx* context) const { spng_ctx_free(context); }
};
using Context = std::unique_ptr<spng_ctx, ContextFree>;

void Check(int result, const std::string& name) {
  if (result != 0) RefuseImage(name, std::string("the PNG data is damaged: ") + spng_strerror(result));
}

}  // namespace

RgbaImage DecodePng(const std::vector<std::uint8_t>& bytes, const std::string& name) {
  const Context context(spng_ctx_new(0));
  if (!context) RefuseImage(name, "the PNG decoder could not start (out of memory)");
  spng_ctx* png = context.get();
  // A damaged checksum refuses the file, in any chunk.
  Check(spng_set_crc_action(png, SPNG_CRC_ERROR, SPNG_CRC_ERROR), name);
  Check(spng_set_chunk_limits(png, kLargestChunk, kChunkMemory), name);
  Check(spng_set_png_buffer(png, bytes.data(), bytes.size()), name);

  spng_ihdr header{};
  Check(spng_get_ihdr(png, &header), name);
  CheckImageSize(header.width, header.height, name);
  if (const std::optional<std::string> damage = FindDamage(bytes, ImageKind::Png)) RefuseImage(name, *damage);
  RgbaImage image(header.width, header.height);
  Check(spng_decode_image(png, image.rgba.data(), image.rgba.size(), SPNG_FMT_RGBA8, SPNG_DECODE_TRNS), name);
  return image;
}

}  // namespace pixels
