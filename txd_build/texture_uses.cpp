#include "txd_build/texture_uses.h"

#include <algorithm>
#include <cctype>
#include <unordered_set>

namespace txdbuild {
namespace {

std::string Describe(std::size_t material, std::size_t geometry, const dffinfo::Origin& origin) {
  return "material " + std::to_string(material) + " of geometry " + std::to_string(geometry) + " (" +
         origin.path + ")";
}

// The uses so far, and their names in lower case to find repeats by.
struct Collected {
  std::vector<TextureUse> uses;
  std::unordered_set<std::string> names;
};

void Add(Collected& collected, const dffinfo::TextureRecord& texture, const std::string& where) {
  if (texture.name.empty()) return;
  if (!collected.names.insert(LowerCaseName(texture.name)).second) return;
  collected.uses.push_back(TextureUse{texture.name, texture.mask, where});
}

}  // namespace

std::string LowerCaseName(std::string name) {
  std::transform(name.begin(), name.end(), name.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return name;
}

std::vector<TextureUse> CollectTextureUses(const dffinfo::Inspection& model) {
  Collected uses;
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
  return std::move(uses.uses);
}

}  // namespace txdbuild
