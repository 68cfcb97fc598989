#include "render/texture_decoding.h"

#include <cstddef>
#include <cstdint>
#include <utility>

#include "texels/first_level.h"

namespace render {
namespace {

TextureAlpha ClassifyAlpha(const pixels::RgbaImage& image) {
  TextureAlpha alpha = TextureAlpha::kOpaque;
  for (std::size_t i = 3; i < image.rgba.size(); i += 4) {
    const std::uint8_t a = image.rgba[i];
    if (a != 0 && a != 255) return TextureAlpha::kTranslucent;
    if (a == 0) alpha = TextureAlpha::kCutOut;
  }
  return alpha;
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
    texels::DecodedLevel level = texels::DecodeFirstLevel(file, t);
    if (level.rgba.empty()) {
      decoded.notes.push_back("texture \"" + t.name + "\" is drawn white: " + level.problem);
      continue;
    }
    Texture texture;
    texture.image.width = t.width;
    texture.image.height = t.height;
    texture.image.rgba = std::move(level.rgba);
    texture.alpha = ClassifyAlpha(texture.image);
    decoded.byName.emplace(TextureKey(t.name), std::move(texture));
  }
  return decoded;
}

}  // namespace render
