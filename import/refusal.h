// The message with which a damaged file is refused: the findings dffinfo
// prints, then its closing line.
#pragma once

#include <string>

#include "dff_inspect/inspect.h"

namespace import {

// Empty when the inspection found no damage.
std::string DamageMessage(const dffinfo::Inspection& inspection, const std::string& path);

}  // namespace import
