#include <algorithm>
#include <cctype>
#include <unordered_map>

#include "dff_inspect/decoders.h"
#include "dff_inspect/reading_order.h"
#include "dff_inspect/txd_decoder.h"

namespace dffinfo {
namespace {

using dff::ChunkType;

constexpr std::uint32_t kPlatformD3D9 = 9;
constexpr std::size_t kNameField = 32;
constexpr std::size_t kFixedRecordBytes = 88;
constexpr std::uint32_t kHasMipmaps = 0x8000;
constexpr std::uint32_t kPalettes = 0x2000 | 0x4000;
constexpr std::uint32_t kDxt1 = 0x31545844;
constexpr std::uint32_t kDxt3 = 0x33545844;
constexpr std::uint32_t kDxt5 = 0x35545844;

bool IsDxt(std::uint32_t d3dFormat) {
  return d3dFormat == kDxt1 || d3dFormat == kDxt3 || d3dFormat == kDxt5;
}

bool IsPowerOfTwo(std::uint32_t v) { return v != 0 && (v & (v - 1)) == 0; }

// Bytes per texel of the uncompressed Direct3D formats; 0 when unknown.
std::uint64_t TexelBytes(std::uint32_t d3dFormat) {
  switch (d3dFormat) {
    case 21: case 22: return 4;              // A8R8G8B8, X8R8G8B8
    case 23: case 24: case 25: case 26: return 2;  // R5G6B5, X1R5G5B5, A1R5G5B5, A4R4G4B4
    case 50: return 1;                       // L8
    default: return 0;
  }
}

// The byte count a reader expects for level `level`, or 0 when this
// listing does not know the format.
// A side of a 16-bit size at level `level`: halved per level, never below
// 1.  A record may claim up to 255 levels; past the 16th every side is 1.
std::uint64_t LevelSide(std::uint16_t side, unsigned level) {
  return level >= 16 ? 1u : std::max(1u, unsigned{side} >> level);
}

std::uint64_t ExpectedLevelBytes(const NativeTextureRecord& t, unsigned level) {
  const std::uint64_t w = LevelSide(t.width, level);
  const std::uint64_t h = LevelSide(t.height, level);
  if (IsDxt(t.d3dFormat)) return ((w + 3) / 4) * ((h + 3) / 4) * (t.d3dFormat == kDxt1 ? 8 : 16);
  return w * h * TexelBytes(t.d3dFormat);
}

std::string Name(ByteReader& reader, const Origin& record, const char* what, Findings& findings) {
  const std::size_t at = reader.offset();
  const std::string field = reader.Text(kNameField);
  const std::size_t end = field.find('\0');
  if (end == std::string::npos) {
    findings.Warn(record.path, at,
                  std::string("the ") + what +
                      " fills all 32 bytes with no terminating zero; tools that rewrite the file "
                      "cut it to 31");
  }
  return field.substr(0, end);
}

void CheckLevels(ByteReader& reader, NativeTextureRecord& t, Findings& findings) {
  const Origin& record = t.structOrigin;
  if ((t.rasterFormat & kPalettes) != 0) {
    findings.Warn(record.path, reader.offset(), "a palettised texture: its levels are not checked");
    return;
  }
  for (unsigned level = 0; level < t.levelCount; ++level) {
    if (!Need(reader, record, "level " + std::to_string(level) + " byte count", 1, 4, findings)) return;
    const std::size_t at = reader.offset();
    const std::uint32_t size = reader.U32();
    t.levelSizes.push_back(size);
    const std::uint64_t expected = ExpectedLevelBytes(t, level);
    if (expected != 0 && size != expected) {
      findings.Damage(record.path, at,
                      "level " + std::to_string(level) + " stores " + std::to_string(size) +
                          " bytes where its size and format take " + std::to_string(expected) +
                          "; readers copy the stored count into a buffer of the expected size");
    }
    if (!Need(reader, record, "level " + std::to_string(level) + " data", size, 1, findings)) return;
    t.levelOffsets.push_back(reader.offset());
    reader.Skip(size);
  }
  ExpectConsumed(reader, record, findings);
}

void CheckDeclaration(const NativeTextureRecord& t, Findings& findings) {
  const Origin& record = t.structOrigin;
  if (IsDxt(t.d3dFormat) && !t.compressed()) {
    findings.Damage(record.path, record.offset,
                    "the Direct3D format is " + t.formatName() +
                        " but the compressed flag is clear: readers decode the data by the raster "
                        "format instead");
  }
  if (t.levelCount == 0) findings.Damage(record.path, record.offset, "the texture stores no level");
  if (t.levelCount > 1 && (t.rasterFormat & kHasMipmaps) == 0) {
    findings.Warn(record.path, record.offset,
                  std::to_string(t.levelCount) +
                      " levels are stored but the mipmap flag (0x8000) is clear: readers keep only "
                      "the first");
  }
  if (!IsPowerOfTwo(t.width) || !IsPowerOfTwo(t.height)) {
    findings.Warn(record.path, record.offset,
                  "the texture is " + std::to_string(t.width) + " x " + std::to_string(t.height) +
                      "; the game's files and the DXT formats use powers of two");
  }
}

NativeTextureRecord DecodeNative(ByteSpan file, const Chunk& native, Findings& findings) {
  NativeTextureRecord t;
  t.origin = OriginOf(native);
  ReadingOrder order(native, findings);
  const Chunk* record = order.Next(ChunkType::Struct);
  order.Next(ChunkType::Extension);
  if (record == nullptr) return t;
  t.structOrigin = OriginOf(*record);
  ByteReader reader = PayloadReader(file, *record);
  if (!Need(reader, t.structOrigin, "platform", 1, 4, findings)) return t;
  t.platform = reader.U32();
  if (t.platform != kPlatformD3D9) {
    findings.Warn(t.structOrigin.path, t.structOrigin.offset,
                  "platform " + std::to_string(t.platform) +
                      ", not Direct3D 9 (9): San Andreas on PC reads only Direct3D textures, and "
                      "this listing decodes only Direct3D 9 ones");
    return t;
  }
  if (!Need(reader, t.structOrigin, "fixed fields", kFixedRecordBytes - 4, 1, findings)) return t;
  t.filter = reader.U8();
  const std::uint8_t addressing = reader.U8();
  t.uAddressing = addressing & 0x0F;
  t.vAddressing = static_cast<std::uint8_t>(addressing >> 4);
  reader.U16();
  t.name = Name(reader, t.structOrigin, "name", findings);
  t.mask = Name(reader, t.structOrigin, "mask name", findings);
  t.rasterFormat = reader.U32();
  t.d3dFormat = reader.U32();
  t.width = reader.U16();
  t.height = reader.U16();
  t.depth = reader.U8();
  t.levelCount = reader.U8();
  t.rasterType = reader.U8();
  t.flags = reader.U8();
  CheckDeclaration(t, findings);
  CheckLevels(reader, t, findings);
  return t;
}

std::string Lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return text;
}

void CheckNamesUnique(const TextureDictionaryRecord& d, Findings& findings) {
  std::unordered_map<std::string, std::size_t> first;  // lower-case name -> its first texture
  for (std::size_t i = 0; i < d.textures.size(); ++i) {
    const auto [known, added] = first.emplace(Lower(d.textures[i].name), i);
    if (added) continue;
    findings.Warn(d.textures[i].origin.path, d.textures[i].origin.offset,
                  "the name \"" + d.textures[i].name + "\" is that of texture " +
                      std::to_string(known->second) +
                      " (names are compared without case): the game finds only the first");
  }
}

}  // namespace

TextureDictionaryRecord DecodeTextureDictionary(ByteSpan file, const Chunk& dictionary, Findings& findings) {
  TextureDictionaryRecord d;
  d.origin = OriginOf(dictionary);
  // The game's reader takes the Struct, each texture after it in turn,
  // then the Extension.
  ReadingOrder order(dictionary, findings);
  if (const Chunk* header = order.Next(ChunkType::Struct)) {
    d.structOrigin = OriginOf(*header);
    ByteReader reader = PayloadReader(file, *header);
    if (Need(reader, d.structOrigin, "texture count and device id", 1, 4, findings)) {
      d.textureCount = reader.U16();
      d.deviceId = reader.U16();
    }
  }
  for (const Chunk* native : ChildrenOfType(dictionary, ChunkType::TextureNative)) {
    order.Next(ChunkType::TextureNative);
    d.textures.push_back(DecodeNative(file, *native, findings));
  }
  order.Next(ChunkType::Extension);
  if (d.textures.size() < d.textureCount) {
    findings.Damage(d.origin.path, d.origin.offset,
                    "the dictionary counts " + std::to_string(d.textureCount) + " textures but holds " +
                        std::to_string(d.textures.size()) + ": readers reject it");
  } else if (d.textures.size() > d.textureCount) {
    findings.Warn(d.origin.path, d.origin.offset,
                  "the dictionary holds " + std::to_string(d.textures.size()) + " textures but counts " +
                      std::to_string(d.textureCount) + ": readers ignore the rest");
  }
  CheckNamesUnique(d, findings);
  return d;
}

std::string NativeTextureRecord::formatName() const {
  switch (d3dFormat) {
    case kDxt1: return "DXT1";
    case kDxt3: return "DXT3";
    case kDxt5: return "DXT5";
    case 21: return "8888";
    case 22: return "888";
    case 23: return "565";
    case 24: return "555";
    case 25: return "1555";
    case 26: return "4444";
    case 50: return "LUM8";
    default: return "D3DFMT " + std::to_string(d3dFormat);
  }
}

}  // namespace dffinfo
