#include "tools/dffinfo/texture_check.h"

#include <set>

#include "txd_build/texture_uses.h"

namespace dffinfo {

std::vector<std::string> TexturesMissingFrom(const Inspection& model, const Inspection& dictionary) {
  std::set<std::string> held;
  for (const TextureDictionaryRecord& record : dictionary.dictionaries) {
    for (const NativeTextureRecord& texture : record.textures) held.insert(txdbuild::LowerCaseName(texture.name));
  }
  std::vector<std::string> missing;
  auto check = [&](const std::string& name, const std::string& kind, const std::string& where) {
    if (name.empty() || held.count(txdbuild::LowerCaseName(name)) != 0) return;
    missing.push_back("the " + kind + " \"" + name + "\" of " + where +
                      " is not in the dictionary: the game draws it white or not at all");
  };
  for (const txdbuild::TextureUse& use : txdbuild::CollectTextureUses(model)) {
    check(use.name, "texture", use.material);
    check(use.mask, "mask", use.material);
  }
  return missing;
}

}  // namespace dffinfo
