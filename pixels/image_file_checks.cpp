#include "pixels/image_file_checks.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <initializer_list>
#include <iterator>

namespace pixels {
namespace {

using Bytes = std::vector<std::uint8_t>;

std::uint32_t BigEndian32(const Bytes& b, std::size_t at) {
  return std::uint32_t{b[at]} << 24 | std::uint32_t{b[at + 1]} << 16 | std::uint32_t{b[at + 2]} << 8 | b[at + 3];
}
std::uint32_t LittleEndian16(const Bytes& b, std::size_t at) { return std::uint32_t{b[at + 1]} << 8 | b[at]; }
std::uint32_t LittleEndian32(const Bytes& b, std::size_t at) {
  return LittleEndian16(b, at + 2) << 16 | LittleEndian16(b, at);
}

std::string Truncated(const char* kind, std::uint64_t needed, std::size_t present) {
  return std::string("the ") + kind + " file ends after " + std::to_string(present) + " bytes, but its headers promise " +
         std::to_string(needed) + " (the file is cut short)";
}

// PNG's CRC-32 (polynomial 0xEDB88320).
std::uint32_t Crc32(const Bytes& bytes, std::size_t begin, std::size_t end) {
  static const std::array<std::uint32_t, 256> table = [] {
    std::array<std::uint32_t, 256> t{};
    for (std::uint32_t n = 0; n < 256; ++n) {
      std::uint32_t c = n;
      for (int k = 0; k < 8; ++k) c = (c & 1) != 0 ? 0xEDB88320u ^ (c >> 1) : c >> 1;
      t[n] = c;
    }
    return t;
  }();
  std::uint32_t crc = 0xFFFFFFFFu;
  for (std::size_t i = begin; i < end; ++i) crc = table[(crc ^ bytes[i]) & 0xFF] ^ (crc >> 8);
  return crc ^ 0xFFFFFFFFu;
}

// The fewest bytes of compressed data that can hold the pixels the header
// promises: deflate stores at most 1032 bytes in one (a 258-byte copy in
// two bits).  Zero when the header is not there to say.
std::uint64_t LeastPngData(const Bytes& b) {
  constexpr std::size_t kHeaderData = 16;  // IHDR's data, after the signature and its length and type
  constexpr std::uint64_t kMostDeflateRatio = 1032;
  if (b.size() < kHeaderData + 13 || std::string(b.begin() + 12, b.begin() + 16) != "IHDR") return 0;
  const std::uint32_t channels[] = {1, 0, 3, 1, 2, 0, 4};
  const std::uint32_t colourType = b[kHeaderData + 9];
  if (colourType >= std::size(channels)) return 0;
  // In floating point: the header's fields may multiply past 64 bits.
  const double bits = static_cast<double>(BigEndian32(b, kHeaderData)) * BigEndian32(b, kHeaderData + 4) *
                      static_cast<double>(channels[colourType] * b[kHeaderData + 8]);
  return static_cast<std::uint64_t>(bits / 8 / kMostDeflateRatio);
}

std::optional<std::string> PngDamage(const Bytes& b) {
  constexpr std::size_t kChunkFrame = 12;  // length, type, checksum
  std::uint64_t imageData = 0;
  std::size_t at = 8;
  while (at + kChunkFrame <= b.size()) {
    const std::uint64_t length = BigEndian32(b, at);
    const std::string type(b.begin() + static_cast<long>(at) + 4, b.begin() + static_cast<long>(at) + 8);
    const std::uint64_t end = at + kChunkFrame + length;
    if (end > b.size()) return Truncated("PNG", end, b.size());
    const std::size_t checksum = static_cast<std::size_t>(end) - 4;
    if (Crc32(b, at + 4, checksum) != BigEndian32(b, checksum)) {
      return "the PNG chunk at byte " + std::to_string(at) + " is damaged: its checksum does not match its data";
    }
    if (type == "IDAT") imageData += length;
    if (type == "IEND") {
      const std::uint64_t least = LeastPngData(b);
      if (imageData >= least) return std::nullopt;
      return "the PNG file holds " + std::to_string(imageData) + " bytes of compressed image data, and its size needs " +
             std::to_string(least) + " at least (the file is cut short or damaged)";
    }
    at = static_cast<std::size_t>(end);
  }
  return std::string("the PNG file ends before its closing IEND chunk (the file is cut short)");
}

std::optional<std::string> BmpDamage(const Bytes& b) {
  if (b.size() < 30) return Truncated("BMP", 30, b.size());
  const std::uint32_t headerSize = LittleEndian32(b, 14);
  std::int64_t width = 0;
  std::int64_t height = 0;
  std::uint32_t bits = 0;
  std::uint32_t compression = 0;
  if (headerSize == 12) {
    width = LittleEndian16(b, 18);
    height = static_cast<std::int16_t>(LittleEndian16(b, 20));
    bits = LittleEndian16(b, 24);
  } else {
    if (b.size() < 34) return Truncated("BMP", 34, b.size());
    width = static_cast<std::int32_t>(LittleEndian32(b, 18));
    height = static_cast<std::int32_t>(LittleEndian32(b, 22));
    bits = LittleEndian16(b, 28);
    compression = LittleEndian32(b, 30);
  }
  // Run-length coded BMPs are refused by the decoder; other kinds of rows
  // are plain: each padded to 4 bytes.
  const bool plainRows = compression == 0 || compression == 3 || compression == 6;
  if (!plainRows || width <= 0 || bits == 0) return std::nullopt;
  const std::uint64_t rowBytes = (static_cast<std::uint64_t>(width) * bits + 31) / 32 * 4;
  const std::uint64_t needed = LittleEndian32(b, 10) + rowBytes * static_cast<std::uint64_t>(std::llabs(height));
  if (needed > b.size()) return Truncated("BMP", needed, b.size());
  return std::nullopt;
}

std::optional<std::string> TgaDamage(const Bytes& b) {
  constexpr std::size_t kHeader = 18;
  if (b.size() < kHeader) return Truncated("TGA", kHeader, b.size());
  const std::uint32_t type = b[2];
  const std::uint64_t colourMap = b[1] == 1 ? std::uint64_t{LittleEndian16(b, 5)} * ((b[7] + 7u) / 8u) : 0;
  const std::uint64_t texels = std::uint64_t{LittleEndian16(b, 12)} * LittleEndian16(b, 14);
  const std::uint64_t texelBytes = (b[16] + 7u) / 8u;
  std::uint64_t at = kHeader + b[0] + colourMap;
  if (type < 8) {
    const std::uint64_t needed = at + texels * texelBytes;
    if (needed > b.size()) return Truncated("TGA", needed, b.size());
    return std::nullopt;
  }
  // Run-length coded: a packet header, then one texel repeated or the
  // texels given one by one.
  for (std::uint64_t covered = 0; covered < texels;) {
    if (at >= b.size()) return Truncated("TGA", at + 1, b.size());
    const std::uint8_t packet = b[static_cast<std::size_t>(at)];
    const std::uint64_t count = (packet & 0x7Fu) + 1u;
    at += 1 + ((packet & 0x80u) != 0 ? texelBytes : count * texelBytes);
    covered += count;
  }
  if (at > b.size()) return Truncated("TGA", at, b.size());
  return std::nullopt;
}

bool StartsWith(const Bytes& b, std::initializer_list<std::uint8_t> magic) {
  return b.size() >= magic.size() && std::equal(magic.begin(), magic.end(), b.begin());
}

}  // namespace

ImageKind KindOf(const Bytes& bytes) {
  if (StartsWith(bytes, {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'})) return ImageKind::Png;
  if (StartsWith(bytes, {0xFF, 0xD8})) return ImageKind::Jpeg;
  if (StartsWith(bytes, {'B', 'M'})) return ImageKind::Bmp;
  return ImageKind::Unsigned;
}

std::optional<std::string> FindDamage(const Bytes& bytes, ImageKind kind) {
  switch (kind) {
    case ImageKind::Png: return PngDamage(bytes);
    case ImageKind::Jpeg: return std::nullopt;  // libjpeg-turbo finds every damage itself
    case ImageKind::Bmp: return BmpDamage(bytes);
    case ImageKind::Unsigned: break;
  }
  return TgaDamage(bytes);
}

}  // namespace pixels
