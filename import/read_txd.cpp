#include <string>
#include <utility>
#include <vector>

#include "import/game_files.h"
#include "import/refusal.h"
#include "texels/first_level.h"

namespace import {
namespace {

constexpr std::uint32_t kPlatformD3D9 = 9;

}  // namespace

bool IsPcTexture(const dffinfo::NativeTextureRecord& texture) { return texture.platform == kPlatformD3D9; }

Read<std::vector<Texture>> ReadTxd(const std::vector<std::uint8_t>& bytes, const std::string& path) {
  return ReadTxd(bytes, dffinfo::Inspect(bytes), path);
}

Read<std::vector<Texture>> ReadTxd(const std::vector<std::uint8_t>& bytes, const dffinfo::Inspection& inspection,
                                   const std::string& path) {
  Read<std::vector<Texture>> result;
  result.error = DamageMessage(inspection, path);
  if (result.error.empty() && inspection.dictionaries.empty()) {
    result.error = path + ": the file holds no texture dictionary: name the model's TXD";
  }
  if (!result.error.empty()) return result;
  std::vector<Texture> textures;
  for (const dffinfo::TextureDictionaryRecord& dictionary : inspection.dictionaries) {
    for (const dffinfo::NativeTextureRecord& t : dictionary.textures) {
      if (!IsPcTexture(t)) {
        result.warnings.push_back(path + ": a texture at offset " + std::to_string(t.origin.offset) +
                                  " is for platform " + std::to_string(t.platform) +
                                  ", not Direct3D 9 (PC): it is left out");
        continue;
      }
      texels::DecodedLevel level = texels::DecodeFirstLevel({bytes.data(), bytes.size()}, t);
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
