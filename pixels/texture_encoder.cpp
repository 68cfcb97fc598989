#include "pixels/texture_encoder.h"

#include <vector>

#include "pixels/level_encoding.h"
#include "pixels/mip_chain.h"
#include "pixels/resample.h"

namespace pixels {

txd::PixelFormat ChooseFormat(Compression compression, AlphaKind alpha) {
  switch (compression) {
    case Compression::Auto:
      if (alpha == AlphaKind::Opaque) return txd::PixelFormat::Dxt1;
      return alpha == AlphaKind::Binary ? txd::PixelFormat::Dxt1OneBitAlpha : txd::PixelFormat::Dxt5;
    case Compression::Dxt1:
      return alpha == AlphaKind::Opaque ? txd::PixelFormat::Dxt1 : txd::PixelFormat::Dxt1OneBitAlpha;
    case Compression::Dxt3: return txd::PixelFormat::Dxt3;
    case Compression::Dxt5: return txd::PixelFormat::Dxt5;
    case Compression::None:
      return alpha == AlphaKind::Opaque ? txd::PixelFormat::Bgrx888 : txd::PixelFormat::Bgra8888;
  }
  return txd::PixelFormat::Dxt1;
}

txd::NativeTexture EncodeTexture(const std::string& name, const std::string& maskName, RgbaImage image,
                                 const std::optional<RgbaImage>& mask, const EncodeOptions& options) {
  if (mask) ApplyMask(image, Resample(*mask, image.width, image.height));
  // Judged on the image as drawn, before resampling softens its edges.
  const AlphaKind alpha = ClassifyAlpha(image);
  const txd::PixelFormat format = ChooseFormat(options.compression, alpha);
  const std::uint32_t minimum = txd::IsCompressed(format) ? kMinCompressedSide : 1;
  const std::uint32_t width = PowerOfTwoSide(image.width, minimum, options.maxSize);
  const std::uint32_t height = PowerOfTwoSide(image.height, minimum, options.maxSize);

  RgbaImage top = Resample(image, width, height);
  image = RgbaImage();  // the source is no longer needed; large images weigh
  std::vector<RgbaImage> chain;
  if (options.mipmaps) {
    chain = BuildMipChain(std::move(top));
  } else {
    chain.push_back(std::move(top));
  }

  std::vector<std::vector<std::uint8_t>> levels;
  levels.reserve(chain.size());
  for (RgbaImage& level : chain) {
    if (alpha == AlphaKind::Opaque) MakeOpaque(level);
    if (format == txd::PixelFormat::Dxt1OneBitAlpha) ThresholdAlpha(level);
    levels.push_back(EncodeLevel(level, format, options.quality));
    level = RgbaImage();
  }
  return txd::MakeNativeTexture(name, maskName, format, alpha != AlphaKind::Opaque,
                                static_cast<std::uint16_t>(width), static_cast<std::uint16_t>(height),
                                std::move(levels));
}

}  // namespace pixels
