// The listing of COL entries for programs.
#pragma once

#include <nlohmann/json.hpp>

#include <vector>

#include "dff_inspect/col_records.h"

namespace dffinfo {

// One object per entry with every header field and every value of its
// spheres, boxes, face groups and both meshes (vertices as stored, in
// 1/128 m; a COLL entry's in "legacyMesh", in metres).
nlohmann::json ColEntriesJson(const std::vector<ColEntryRecord>& entries);

}  // namespace dffinfo
