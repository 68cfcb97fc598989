// The textures a DFF's materials ask for, as the game will look them up in
// the model's texture dictionary.
#pragma once

#include <string>
#include <vector>

#include "dff_inspect/inspect.h"

namespace txdbuild {

struct TextureUse {
  std::string name;
  std::string mask;      // empty when the material names none
  std::string material;  // where it is used, for messages: "material 2 of geometry 0 (path)"
};

// Every texture and mask name of every material, its MaterialEffects
// textures (environment and bump maps) included, in file order.  The game
// matches names without regard to case, so each name appears once, with the
// spelling and mask of its first use.
std::vector<TextureUse> CollectTextureUses(const dffinfo::Inspection& model);

// The name in lower case (ASCII letters only): the game compares texture
// names without regard to case, so names are looked up by this form.
std::string LowerCaseName(std::string name);

}  // namespace txdbuild
