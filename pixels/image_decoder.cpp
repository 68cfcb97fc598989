#include "pixels/image_decoder.h"

#include "pixels/image_file_checks.h"
#include "pixels/jpeg_decoder.h"
#include "pixels/png_decoder.h"
#include "pixels/tga_bmp_decoder.h"

namespace pixels {

RgbaImage DecodeImage(const std::vector<std::uint8_t>& bytes, const std::string& name) {
  if (bytes.empty()) RefuseImage(name, "the file is empty");
  switch (KindOf(bytes)) {
    case ImageKind::Png: return DecodePng(bytes, name);
    case ImageKind::Jpeg: return DecodeJpeg(bytes, name);
    case ImageKind::Bmp:
    case ImageKind::Unsigned: break;
  }
  return DecodeTgaOrBmp(bytes, name);
}

}  // namespace pixels
