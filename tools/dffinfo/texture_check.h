// dffinfo --txd: whether a model's texture dictionary holds every texture
// the model names.  The game draws a surface whose texture it cannot find
// white or not at all.
#pragma once

#include <string>
#include <vector>

#include "dff_inspect/inspect.h"

namespace dffinfo {

// One line per texture or mask name of `model` that no texture of
// `dictionary` has (names compared without case, as the game does), naming
// where the model uses it.
std::vector<std::string> TexturesMissingFrom(const Inspection& model, const Inspection& dictionary);

}  // namespace dffinfo
