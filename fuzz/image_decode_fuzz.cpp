// The image decoder on any bytes: each input is refused with a reason or
// decodes to whole texels of the size its header claims.
//
// VELMORA_FUZZ_IMAGE_KIND=png|jpeg|bmp|tga keeps the run on one kind of
// file: inputs of other kinds (by their signature, as the decoder tells
// them apart) are skipped and not kept in the corpus.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "pixels/image_decoder.h"
#include "pixels/image_file_checks.h"

namespace {

std::optional<pixels::ImageKind> KindToFuzz() {
  const char* chosen = std::getenv("VELMORA_FUZZ_IMAGE_KIND");
  if (chosen == nullptr || *chosen == '\0') return std::nullopt;
  const std::string kind = chosen;
  if (kind == "png") return pixels::ImageKind::Png;
  if (kind == "jpeg") return pixels::ImageKind::Jpeg;
  if (kind == "bmp") return pixels::ImageKind::Bmp;
  if (kind == "tga") return pixels::ImageKind::Unsigned;
  std::abort();  // a mistyped kind would fuzz nothing
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const std::optional<pixels::ImageKind> kindToFuzz = KindToFuzz();
  const std::vector<std::uint8_t> bytes(data, data + size);
  if (kindToFuzz && pixels::KindOf(bytes) != *kindToFuzz) return -1;
  try {
    const pixels::RgbaImage image = pixels::DecodeImage(bytes, "input");
    if (image.width == 0 || image.height == 0 || image.rgba.size() != image.texelCount() * 4) std::abort();
  } catch (const pixels::ImageError&) {
  }
  return 0;
}
