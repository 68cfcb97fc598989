#include <cstring>

#include "dff/chunk_type.h"
#include "import/game_files.h"
#include "import/refusal.h"
#include "import/texel_formats.h"

namespace import {
namespace {

constexpr std::uint32_t kPlatformD3D9 = 9;
// Platform, filter and addressing, two names, raster format, Direct3D
// format, sizes, depth, level count, raster type and flags.
constexpr std::size_t kFixedRecordBytes = 88;

}  // namespace

Read<std::vector<Texture>> ReadTxd(const std::vector<std::uint8_t>& bytes, const std::string& path) {
  Read<std::vector<Texture>> result;
  const dffinfo::Inspection inspection = dffinfo::Inspect(bytes);
  result.error = DamageMessage(inspection, path);
  if (result.error.empty() && inspection.dictionaries.empty()) {
    result.error = path + ": the file holds no texture dictionary: name the model's TXD";
  }
  if (!result.error.empty()) return result;
  std::vector<Texture> textures;
  for (const dffinfo::TextureDictionaryRecord& dictionary : inspection.dictionaries) {
    for (const dffinfo::NativeTextureRecord& t : dictionary.textures) {
      if (t.platform != kPlatformD3D9) {
        result.warnings.push_back(path + ": a texture at offset " + std::to_string(t.origin.offset) +
                                  " is for platform " + std::to_string(t.platform) +
                                  ", not Direct3D 9 (PC): it is left out");
        continue;
      }
      const std::size_t fields = t.structOrigin.offset + dff::kChunkHeaderSize + kFixedRecordBytes;
      std::uint32_t structSize = 0;
      std::memcpy(&structSize, bytes.data() + t.structOrigin.offset + 4, 4);
      const std::size_t end = t.structOrigin.offset + dff::kChunkHeaderSize + structSize;
      DecodedLevel level = fields <= end && end <= bytes.size()
                               ? DecodeFirstLevel(t, bytes.data() + fields, end - fields)
                               : DecodedLevel{{}, "its record is shorter than its fixed fields"};
      if (level.rgba.empty()) {
        result.warnings.push_back(path + ": texture \"" + t.name + "\" is left out: " + level.problem);
        continue;
      }
      textures.push_back({t.name, t.mask, t.width, t.height, std::move(level.rgba)});
    }
  }
  result.value = std::move(textures);
  return result;
}

}  // namespace import
