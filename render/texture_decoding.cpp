#include "render/texture_decoding.h"

#include <squish.h>

#include <cstddef>
#include <cstdint>
#include <optional>

namespace render {
namespace {

constexpr std::uint32_t kPlatformD3D9 = 9;
constexpr std::uint32_t kPalettes = 0x2000 | 0x4000;
constexpr std::uint32_t kDxt1 = 0x31545844;
constexpr std::uint32_t kDxt3 = 0x33545844;
constexpr std::uint32_t kDxt5 = 0x35545844;
constexpr std::uint32_t kA8R8G8B8 = 21;
constexpr std::uint32_t kX8R8G8B8 = 22;
constexpr std::uint32_t kR5G6B5 = 23;
constexpr std::uint32_t kX1R5G5B5 = 24;
constexpr std::uint32_t kA1R5G5B5 = 25;
constexpr std::uint32_t kA4R4G4B4 = 26;
constexpr std::uint32_t kL8 = 50;

struct Level {
  const std::uint8_t* bytes;
  std::size_t size;
};

std::uint8_t Widen5(unsigned v) { return static_cast<std::uint8_t>((v << 3) | (v >> 2)); }
std::uint8_t Widen6(unsigned v) { return static_cast<std::uint8_t>((v << 2) | (v >> 4)); }
std::uint8_t Widen4(unsigned v) { return static_cast<std::uint8_t>(v * 17); }

// One texel of a 16-bit format, little-endian in the file.
void Unpack16(std::uint32_t format, unsigned v, std::uint8_t* out) {
  switch (format) {
    case kR5G6B5:
      out[0] = Widen5((v >> 11) & 31), out[1] = Widen6((v >> 5) & 63), out[2] = Widen5(v & 31), out[3] = 255;
      return;
    case kA4R4G4B4:
      out[0] = Widen4((v >> 8) & 15), out[1] = Widen4((v >> 4) & 15), out[2] = Widen4(v & 15);
      out[3] = Widen4(v >> 12);
      return;
    default:  // X1R5G5B5 and A1R5G5B5
      out[0] = Widen5((v >> 10) & 31), out[1] = Widen5((v >> 5) & 31), out[2] = Widen5(v & 31);
      out[3] = (format == kA1R5G5B5 && (v & 0x8000) == 0) ? 0 : 255;
      return;
  }
}

std::size_t BytesPerTexel(std::uint32_t format) {
  switch (format) {
    case kA8R8G8B8:
    case kX8R8G8B8: return 4;
    case kR5G6B5:
    case kX1R5G5B5:
    case kA1R5G5B5:
    case kA4R4G4B4: return 2;
    case kL8: return 1;
    default: return 0;
  }
}

int SquishFlags(std::uint32_t format) {
  switch (format) {
    case kDxt1: return squish::kDxt1;
    case kDxt3: return squish::kDxt3;
    case kDxt5: return squish::kDxt5;
    default: return 0;
  }
}

std::size_t ExpectedBytes(std::uint32_t format, std::size_t w, std::size_t h) {
  const int dxt = SquishFlags(format);
  if (dxt != 0) return ((w + 3) / 4) * ((h + 3) / 4) * (dxt == squish::kDxt1 ? 8 : 16);
  return w * h * BytesPerTexel(format);
}

void DecodeUncompressed(std::uint32_t format, const std::uint8_t* in, pixels::RgbaImage& image) {
  std::uint8_t* out = image.rgba.data();
  for (std::size_t i = 0; i < image.texelCount(); ++i, out += 4) {
    switch (format) {
      case kA8R8G8B8:
      case kX8R8G8B8:
        out[0] = in[2], out[1] = in[1], out[2] = in[0];
        out[3] = format == kA8R8G8B8 ? in[3] : 255;
        in += 4;
        break;
      case kL8:
        out[0] = out[1] = out[2] = in[0], out[3] = 255;
        in += 1;
        break;
      default:
        Unpack16(format, unsigned{in[0]} | (unsigned{in[1]} << 8), out);
        in += 2;
        break;
    }
  }
}

TextureAlpha ClassifyAlpha(const pixels::RgbaImage& image) {
  TextureAlpha alpha = TextureAlpha::kOpaque;
  for (std::size_t i = 3; i < image.rgba.size(); i += 4) {
    const std::uint8_t a = image.rgba[i];
    if (a != 0 && a != 255) return TextureAlpha::kTranslucent;
    if (a == 0) alpha = TextureAlpha::kCutOut;
  }
  return alpha;
}

// Why `t` cannot be decoded, or nothing when it can.
std::optional<std::string> Undecodable(dffinfo::ByteSpan file, const dffinfo::NativeTextureRecord& t) {
  if (t.platform != kPlatformD3D9) return "not a Direct3D 9 texture";
  if ((t.rasterFormat & kPalettes) != 0) return "palettised textures are not drawn";
  if (SquishFlags(t.d3dFormat) == 0 && BytesPerTexel(t.d3dFormat) == 0) {
    return "its format " + t.formatName() + " is not drawn";
  }
  if (t.width == 0 || t.height == 0 || t.levelOffsets.empty()) return "it stores no texels";
  const std::size_t expected = ExpectedBytes(t.d3dFormat, t.width, t.height);
  if (t.levelSizes.front() < expected || t.levelOffsets.front() + expected > file.size) {
    return "its first level is cut short";
  }
  return std::nullopt;
}

Texture Decode(dffinfo::ByteSpan file, const dffinfo::NativeTextureRecord& t) {
  Texture texture;
  texture.image = pixels::RgbaImage(t.width, t.height);
  const std::uint8_t* bytes = file.data + t.levelOffsets.front();
  if (const int dxt = SquishFlags(t.d3dFormat); dxt != 0) {
    squish::DecompressImage(texture.image.rgba.data(), t.width, t.height, bytes, dxt);
  } else {
    DecodeUncompressed(t.d3dFormat, bytes, texture.image);
  }
  texture.alpha = ClassifyAlpha(texture.image);
  return texture;
}

}  // namespace

std::string TextureKey(const std::string& name) {
  std::string key = name;
  for (char& c : key) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return key;
}

DecodedTextures DecodeTextures(dffinfo::ByteSpan file, const dffinfo::TextureDictionaryRecord& dictionary) {
  DecodedTextures decoded;
  for (const dffinfo::NativeTextureRecord& t : dictionary.textures) {
    if (const std::optional<std::string> why = Undecodable(file, t)) {
      decoded.notes.push_back("texture \"" + t.name + "\" is drawn white: " + *why);
      continue;
    }
    decoded.byName.emplace(TextureKey(t.name), Decode(file, t));
  }
  return decoded;
}

}  // namespace render
