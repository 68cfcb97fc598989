#include <algorithm>

#include "import/collision_entry.h"
#include "import/game_files.h"
#include "import/refusal.h"

namespace import {

Read<Collision> ReadCol(const std::vector<std::uint8_t>& bytes, const std::string& path) {
  Read<Collision> result;
  const dffinfo::Inspection inspection = dffinfo::Inspect(bytes);
  result.error = DamageMessage(inspection, path);
  if (!result.error.empty()) return result;
  if (inspection.colEntries.empty()) {
    result.error = path + ": the file holds no COL entry: name a COL file (COLL, COL2 or COL3)";
    return result;
  }
  const dffinfo::ColEntryRecord& entry = inspection.colEntries[0];
  if (!entry.decoded) {
    result.error = path + ": its first entry is " + entry.fourcc +
                   ", which the import does not read: name a COLL, COL2 or COL3 file";
    return result;
  }
  if (inspection.colEntries.size() > 1) {
    result.warnings.push_back(path + ": the file holds " + std::to_string(inspection.colEntries.size()) +
                              " entries; only the first, \"" + entry.name + "\", comes in");
  }
  // The fourcc and the size field, then `size` bytes.
  const std::size_t end = std::min(bytes.size(), entry.origin.offset + 8 + std::size_t{entry.size});
  result.value = ToCollision(entry, bytes.data() + entry.origin.offset, end - entry.origin.offset);
  return result;
}

}  // namespace import
