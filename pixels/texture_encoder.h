// From a decoded image to a native texture: the size the game wants, the
// mip levels, the pixel format chosen from the image's alpha, and the
// encoded levels.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "pixels/alpha.h"
#include "pixels/level_encoding.h"
#include "pixels/rgba_image.h"
#include "txd/native_texture.h"
#include "txd/pixel_format.h"

namespace pixels {

enum class Compression {
  Auto,  // DXT1 opaque, DXT1 with 1-bit alpha for cut-outs, DXT5 for smooth alpha
  Dxt1,
  Dxt3,
  Dxt5,
  None,  // 32-bit: 8888 with alpha, 888 without
};

struct EncodeOptions {
  Compression compression = Compression::Auto;
  bool mipmaps = true;
  std::uint32_t maxSize = 1024;  // a power of two
  DxtQuality quality = DxtQuality::Fast;
};

// DXT levels start at one whole block.
constexpr std::uint32_t kMinCompressedSide = 4;

txd::PixelFormat ChooseFormat(Compression compression, AlphaKind alpha);

// `mask`, when given, supplies the alpha (see ApplyMask); it is resampled to
// the image's size first.
txd::NativeTexture EncodeTexture(const std::string& name, const std::string& maskName, RgbaImage image,
                                 const std::optional<RgbaImage>& mask, const EncodeOptions& options);

}  // namespace pixels
