#include "examples/example_images.h"

#include <functional>

namespace example {
namespace {

struct Rgb {
  int r, g, b;
};

std::uint8_t Clamp(int value) { return static_cast<std::uint8_t>(value < 0 ? 0 : value > 255 ? 255 : value); }

// An uncompressed 32-bit TGA, rows top first (image descriptor bit 5),
// texels as B, G, R, A.
std::vector<std::uint8_t> Tga(int side, const std::function<Rgb(int x, int y)>& texel) {
  std::vector<std::uint8_t> file(18, 0);
  file[2] = 2;  // uncompressed true colour
  file[12] = static_cast<std::uint8_t>(side & 0xFF);
  file[13] = static_cast<std::uint8_t>(side >> 8);
  file[14] = file[12];
  file[15] = file[13];
  file[16] = 32;
  file[17] = 0x28;  // 8 alpha bits, top-left origin
  for (int y = 0; y < side; ++y) {
    for (int x = 0; x < side; ++x) {
      const Rgb c = texel(x, y);
      file.insert(file.end(), {Clamp(c.b), Clamp(c.g), Clamp(c.r), 255});
    }
  }
  return file;
}

}  // namespace

std::vector<std::uint8_t> PaintImage() {
  return Tga(64, [](int x, int y) {
    const bool panelLine = x % 32 == 0 || y % 32 == 0;
    const int shade = panelLine ? -80 : 0;
    return Rgb{200 + shade - y, 60 + x + shade, 30 + shade};
  });
}

std::vector<std::uint8_t> ChromeEnvironmentImage() {
  return Tga(32, [](int x, int y) {
    if (y < 16) return Rgb{120 + y * 4, 160 + y * 4, 255 - x};
    return Rgb{90 - (y - 16) * 3, 80 - (y - 16) * 2, 60};
  });
}

}  // namespace example
