// The listing of an inspection for programs.
#pragma once

#include <nlohmann/json.hpp>

#include "dff_inspect/inspect.h"

namespace dffinfo {

// {"sound", "findings", "chunks", "clumps", "dictionaries", "colEntries"}: the same content as the text
// listing, with every value of every array.  Without `full` only "sound"
// and "findings" are filled.
nlohmann::json ToJson(const Inspection& inspection, bool full);

}  // namespace dffinfo
