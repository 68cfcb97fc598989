// A COL entry, as dff_inspect decodes it, turned into the import model.
#pragma once

#include <cstddef>
#include <cstdint>

#include "dff_inspect/col_records.h"
#include "import/import_model.h"

namespace import {

// `bytes` (`size` of them) are the entry as stored, kept whole.
Collision ToCollision(const dffinfo::ColEntryRecord& entry, const std::uint8_t* bytes, std::size_t size);

}  // namespace import
