// The human-readable listing of COL entries, from a COL file or embedded
// in a DFF.
#pragma once

#include <ostream>
#include <vector>

#include "dff_inspect/col_records.h"

namespace dffinfo {

// Per entry: header, bounds, primitive counts, both meshes with their
// surface types.  Vertex and face values are left to the JSON listing.
void PrintColEntries(std::ostream& out, const std::vector<ColEntryRecord>& entries);

}  // namespace dffinfo
