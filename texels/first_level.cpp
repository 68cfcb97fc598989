#include "texels/first_level.h"

#include <squish.h>

#include <algorithm>
#include <cstddef>
#include <cstring>

#include "dff/chunk_type.h"

namespace texels {
namespace {

constexpr std::uint32_t kPlatformD3D9 = 9;
// Platform, filter and addressing, two names, raster format, Direct3D
// format, sizes, depth, level count, raster type and flags.
constexpr std::size_t kFixedRecordBytes = 88;

constexpr std::uint32_t kPalette8 = 0x2000;
constexpr std::uint32_t kPalette4 = 0x4000;
constexpr std::uint32_t kDxt1 = 0x31545844;
constexpr std::uint32_t kDxt3 = 0x33545844;
constexpr std::uint32_t kDxt5 = 0x35545844;

// The raster format's kind, in bits 8-11.
enum RasterKind : std::uint32_t { k1555 = 1, k565 = 2, k4444 = 3, kLum8 = 4, k8888 = 5, k888 = 6, k555 = 10 };

std::uint32_t RasterKindOf(std::uint32_t rasterFormat) { return (rasterFormat >> 8) & 0xFu; }

std::uint8_t Expand5(unsigned v) { return static_cast<std::uint8_t>((v * 255 + 15) / 31); }
std::uint8_t Expand6(unsigned v) { return static_cast<std::uint8_t>((v * 255 + 31) / 63); }
std::uint8_t Expand4(unsigned v) { return static_cast<std::uint8_t>(v * 17); }

unsigned Word(const std::uint8_t* at) { return static_cast<unsigned>(at[0] | (at[1] << 8)); }

// One texel of an uncompressed Direct3D format into `out`; false for a
// format this does not know.
bool DecodeTexel(std::uint32_t d3dFormat, const std::uint8_t* in, std::uint8_t* out) {
  switch (d3dFormat) {
    case 21: case 22:  // A8R8G8B8, X8R8G8B8: stored B, G, R, A
      out[0] = in[2]; out[1] = in[1]; out[2] = in[0]; out[3] = d3dFormat == 21 ? in[3] : 255;
      return true;
    case 23: {  // R5G6B5
      const unsigned v = Word(in);
      out[0] = Expand5(v >> 11); out[1] = Expand6((v >> 5) & 63); out[2] = Expand5(v & 31); out[3] = 255;
      return true;
    }
    case 24: case 25: {  // X1R5G5B5, A1R5G5B5
      const unsigned v = Word(in);
      out[0] = Expand5((v >> 10) & 31); out[1] = Expand5((v >> 5) & 31); out[2] = Expand5(v & 31);
      out[3] = d3dFormat == 24 || (v & 0x8000) != 0 ? 255 : 0;
      return true;
    }
    case 26: {  // A4R4G4B4
      const unsigned v = Word(in);
      out[0] = Expand4((v >> 8) & 15); out[1] = Expand4((v >> 4) & 15); out[2] = Expand4(v & 15);
      out[3] = Expand4(v >> 12);
      return true;
    }
    case 50:  // L8
      out[0] = out[1] = out[2] = in[0]; out[3] = 255;
      return true;
    case 51:  // A8L8
      out[0] = out[1] = out[2] = in[0]; out[3] = in[1];
      return true;
    default:
      return false;
  }
}

std::size_t TexelBytes(std::uint32_t d3dFormat) {
  switch (d3dFormat) {
    case 21: case 22: return 4;
    case 23: case 24: case 25: case 26: case 51: return 2;
    case 50: return 1;
    default: return 0;
  }
}

int SquishFlags(std::uint32_t d3dFormat) {
  switch (d3dFormat) {
    case kDxt1: return squish::kDxt1;
    case kDxt3: return squish::kDxt3;
    case kDxt5: return squish::kDxt5;
    default: return 0;
  }
}

// Block by block, clipped at the level's edges: libsquish's whole-image
// call runs on OpenMP worker threads in Debian's build, which spin on in
// the background for longer than the decoding takes.
void DecodeBlocks(const std::uint8_t* blocks, std::size_t w, std::size_t h, int flags, std::uint8_t* rgba) {
  const std::size_t blockBytes = flags == squish::kDxt1 ? 8 : 16;
  std::uint8_t texels[16 * 4];
  for (std::size_t by = 0; by < h; by += 4) {
    for (std::size_t bx = 0; bx < w; bx += 4, blocks += blockBytes) {
      squish::Decompress(texels, blocks, flags);
      for (std::size_t y = by; y < by + 4 && y < h; ++y) {
        const std::size_t row = std::min<std::size_t>(4, w - bx);
        std::memcpy(rgba + (y * w + bx) * 4, texels + (y - by) * 16, row * 4);
      }
    }
  }
}

// Reads the level's byte count at `at`; the level's bytes follow it.
bool LevelBytes(const std::uint8_t* data, std::size_t size, std::size_t at, std::size_t needed,
                const std::uint8_t*& level, std::string& problem) {
  if (size < at + 4) {
    problem = "the texture ends before its first level";
    return false;
  }
  std::uint32_t stored = 0;
  std::memcpy(&stored, data + at, 4);  // little-endian machines and files alike
  if (stored < needed || size - at - 4 < needed) {
    problem = "its first level holds fewer bytes than its size and format take";
    return false;
  }
  level = data + at + 4;
  return true;
}

DecodedLevel DecodePalette(const dffinfo::NativeTextureRecord& t, const std::uint8_t* data, std::size_t size) {
  DecodedLevel out;
  const bool four = (t.rasterFormat & kPalette4) != 0;
  const std::size_t entries = four ? 16 : 256;
  const std::size_t count = std::size_t{t.width} * t.height;
  const std::size_t needed = four ? (count + 1) / 2 : count;
  const std::uint8_t* level = nullptr;
  if (size < entries * 4 || !LevelBytes(data, size, entries * 4, needed, level, out.problem)) {
    if (out.problem.empty()) out.problem = "the texture ends inside its palette";
    return out;
  }
  const std::uint32_t kind = RasterKindOf(t.rasterFormat);
  const bool paletteAlpha = kind == k1555 || kind == k4444 || kind == k8888;
  out.rgba.resize(count * 4);
  for (std::size_t i = 0; i < count; ++i) {
    const unsigned index = four ? (i % 2 == 0 ? level[i / 2] >> 4 : level[i / 2] & 15) : level[i];
    std::memcpy(&out.rgba[i * 4], data + index * 4, 4);
    if (!paletteAlpha) out.rgba[i * 4 + 3] = 255;
  }
  return out;
}

// `data` holds `size` bytes: everything the texture's Struct holds after
// its fixed fields.
DecodedLevel DecodeStoredLevel(const dffinfo::NativeTextureRecord& t, const std::uint8_t* data, std::size_t size) {
  if ((t.rasterFormat & (kPalette8 | kPalette4)) != 0) return DecodePalette(t, data, size);
  DecodedLevel out;
  const std::size_t w = t.width;
  const std::size_t h = t.height;
  const std::uint8_t* level = nullptr;
  if (const int flags = SquishFlags(t.d3dFormat); flags != 0) {
    const std::size_t needed = ((w + 3) / 4) * ((h + 3) / 4) * (flags == squish::kDxt1 ? 8 : 16);
    if (!LevelBytes(data, size, 0, needed, level, out.problem)) return out;
    out.rgba.resize(w * h * 4);
    DecodeBlocks(level, w, h, flags, out.rgba.data());
    return out;
  }
  const std::size_t texelBytes = TexelBytes(t.d3dFormat);
  if (texelBytes == 0) {
    out.problem = "its format, " + t.formatName() + ", is not one these texels are decoded from";
    return out;
  }
  if (!LevelBytes(data, size, 0, w * h * texelBytes, level, out.problem)) return out;
  out.rgba.resize(w * h * 4);
  for (std::size_t i = 0; i < w * h; ++i) DecodeTexel(t.d3dFormat, level + i * texelBytes, &out.rgba[i * 4]);
  return out;
}

}  // namespace

DecodedLevel DecodeFirstLevel(dffinfo::ByteSpan file, const dffinfo::NativeTextureRecord& t) {
  if (t.platform != kPlatformD3D9) return {{}, "not a Direct3D 9 texture"};
  if (t.width == 0 || t.height == 0) return {{}, "it stores no texels"};
  const std::size_t start = t.structOrigin.offset;
  if (start > file.size || file.size - start < dff::kChunkHeaderSize + kFixedRecordBytes) {
    return {{}, "its record is shorter than its fixed fields"};
  }
  std::uint32_t structSize = 0;
  std::memcpy(&structSize, file.data + start + 4, 4);  // little-endian machines and files alike
  const std::size_t fields = start + dff::kChunkHeaderSize + kFixedRecordBytes;
  const std::size_t end = start + dff::kChunkHeaderSize + std::size_t{structSize};
  if (end < fields || end > file.size) return {{}, "its record is shorter than its fixed fields"};
  return DecodeStoredLevel(t, file.data + fields, end - fields);
}

}  // namespace texels
