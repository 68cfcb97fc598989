#include "tools/maketxd/texture_uses.h"

#include <algorithm>
#include <cctype>

namespace maketxd {
namespace {

std::string Describe(std::size_t material, std::size_t geometry, const dffinfo::Origin& origin) {
  return "material " + std::to_string(material) + " of geometry " + std::to_string(geometry) + " (" +
         origin.path + ")";
}

void Add(std::vector<TextureUse>& uses, const dffinfo::TextureRecord& texture, const std::string& where) {
  if (texture.name.empty()) return;
  const auto known = std::find_if(uses.begin(), uses.end(), [&](const TextureUse& use) {
    return SameTextureName(use.name, texture.name);
  });
  if (known == uses.end()) uses.push_back(TextureUse{texture.name, texture.mask, where});
}

}  // namespace

bool SameTextureName(const std::string& a, const std::string& b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
         });
}

std::vector<TextureUse> CollectTextureUses(const dffinfo::Inspection& model) {
  std::vector<TextureUse> uses;
  for (const dffinfo::ClumpRecord& clump : model.clumps) {
    for (std::size_t g = 0; g < clump.geometries.size(); ++g) {
      const auto& list = clump.geometries[g].materialList;
      if (!list) continue;
      for (std::size_t m = 0; m < list->materials.size(); ++m) {
        const dffinfo::MaterialRecord& material = list->materials[m];
        const std::string where = Describe(m, g, material.origin);
        if (material.texture) Add(uses, *material.texture, where);
        if (!material.effects) continue;
        for (const dffinfo::EffectSlot& slot : material.effects->slots) {
          if (slot.texture) Add(uses, *slot.texture, where);
          if (slot.bumpedTexture) Add(uses, *slot.bumpedTexture, where);
        }
      }
    }
  }
  return uses;
}

}  // namespace maketxd
