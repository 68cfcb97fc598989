// The human-readable listing of an inspection.
#pragma once

#include <ostream>

#include "dff_inspect/inspect.h"

namespace dffinfo {

// The chunk tree with type names, sizes, version stamps and offsets, then
// the decoded records of every clump.  Arrays of vertex data are summed up
// by their counts; the JSON listing carries their values.
void PrintText(std::ostream& out, const Inspection& inspection);

// One line per finding, damage first.
void PrintFindings(std::ostream& out, const Inspection& inspection);

}  // namespace dffinfo
