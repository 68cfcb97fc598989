// The example's texture images: small uncompressed TGA files that the
// scene's surfaces name as images/paint.tga and images/chrome_env.tga.
#pragma once

#include <cstdint>
#include <vector>

namespace example {

// A 64 x 64 paint texture: a warm gradient with darker panel lines.
std::vector<std::uint8_t> PaintImage();
// A 32 x 32 environment map: a sky-to-ground gradient.
std::vector<std::uint8_t> ChromeEnvironmentImage();

}  // namespace example
