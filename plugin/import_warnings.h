// What the import module's servers could not carry, shown through the
// host's message boxes.
#pragma once

#include <string>
#include <vector>

#include "lwsdk/globals.h"

namespace plugin {

// One warning box per line; nothing where the host serves no messages.
void ShowImportWarnings(GlobalFunc global, const std::vector<std::string>& warnings);

}  // namespace plugin
