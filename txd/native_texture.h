// One texture of a San Andreas PC texture dictionary as the Direct3D 9
// driver stores it: the fixed record of the TextureNative Struct and the
// bytes of each mip level, largest first.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace txd {

// The native record's platform word for Direct3D 9 (8 is Direct3D 8, the
// layout of III and Vice City).
constexpr std::uint32_t kPlatformD3D9 = 9;
// The dictionary's device id for Direct3D 9, which every San Andreas PC
// dictionary carries.
constexpr std::uint16_t kDeviceD3D9 = 2;

// Texture filter modes.
constexpr std::uint8_t kFilterLinear = 2;
constexpr std::uint8_t kFilterLinearMipLinear = 6;
// Addressing: U in the low nibble, V in the high one; 1 is wrap.
constexpr std::uint8_t kAddressWrapWrap = 0x11;

// Raster format flags.  The low nibble of the second byte names the pixel
// class; the DXT formats borrow the class of their nearest 16-bit format.
constexpr std::uint32_t kRaster1555 = 0x0100;
constexpr std::uint32_t kRaster565 = 0x0200;
constexpr std::uint32_t kRaster4444 = 0x0300;
constexpr std::uint32_t kRaster8888 = 0x0500;
constexpr std::uint32_t kRaster888 = 0x0600;
constexpr std::uint32_t kRasterHasMipmaps = 0x8000;

// Direct3D 9 surface formats: D3DFMT numbers or FourCC codes.
constexpr std::uint32_t kD3dA8R8G8B8 = 21;
constexpr std::uint32_t kD3dX8R8G8B8 = 22;
constexpr std::uint32_t kD3dDxt1 = 0x31545844;  // "DXT1"
constexpr std::uint32_t kD3dDxt3 = 0x33545844;  // "DXT3"
constexpr std::uint32_t kD3dDxt5 = 0x35545844;  // "DXT5"

constexpr std::uint8_t kRasterTypeTexture = 4;

// Bits of the native record's last fixed byte.
constexpr std::uint8_t kFlagAlpha = 0x01;
constexpr std::uint8_t kFlagCompressed = 0x08;

// Names sit in 32-byte fields that readers expect to end with a zero byte.
constexpr std::size_t kNameFieldBytes = 32;
constexpr std::size_t kMaxNameBytes = kNameFieldBytes - 1;

// The fixed part of the native Struct, before the mip levels.
constexpr std::size_t kNativeRecordBytes = 88;

struct NativeTexture {
  std::string name;
  std::string mask;
  std::uint8_t filter = kFilterLinear;
  std::uint8_t addressing = kAddressWrapWrap;
  std::uint32_t rasterFormat = 0;
  std::uint32_t d3dFormat = 0;
  std::uint16_t width = 0;
  std::uint16_t height = 0;
  std::uint8_t depth = 0;  // bits per pixel; 16 for the DXT formats, as the game's files have it
  std::uint8_t rasterType = kRasterTypeTexture;
  std::uint8_t flags = 0;
  std::vector<std::vector<std::uint8_t>> levels;
};

}  // namespace txd
