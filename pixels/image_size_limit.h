// The largest image decoded, judged from a file's header before anything
// is allocated for its pixels.
#pragma once

#include <cstdint>
#include <string>

namespace pixels {

// The largest image side taken.  The game's own limit is not documented;
// it creates its textures through Direct3D 9, and the cards of its time
// give 2048 to 8192 as their largest texture side (the device's
// MaxTextureWidth and MaxTextureHeight), so no player's game uses a larger
// one.  At 4 bytes a
// texel a decoded image then takes at most 256 MiB; each decoder's own
// working memory is bounded besides (jpeg_decoder.cpp, png_decoder.cpp).
constexpr std::uint32_t kMaxImageSide = 8192;

// Throws an ImageError naming `name` when a side is 0 or over the limit.
void CheckImageSize(std::uint64_t width, std::uint64_t height, const std::string& name);

}  // namespace pixels
