// The reader of COL files and of the collision a DFF embeds: every entry
// decoded and checked as the game's loader reads it.
//
// The game walks a file entry by entry and stops at the first that is not
// a COL version; within an entry it turns the header's offsets into
// pointers without checking them, so every block must lie inside its entry,
// apart from the others, and every face index must stay in its mesh.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "dff_inspect/byte_reader.h"
#include "dff_inspect/col_records.h"
#include "dff_inspect/findings.h"

namespace dffinfo {

// Whether the bytes at `offset` start a COL entry (COLL, COL2, COL3, COL4).
bool StartsColEntry(ByteSpan file, std::size_t offset);

// The entries from `begin` to `end`, each checked.  Paths read
// "<parent>/COL3[i]" ("COL3[i]" for an empty parent).  Bytes after the
// last entry that start no entry are a warning: the game stops before them.
std::vector<ColEntryRecord> DecodeColEntries(ByteSpan file, std::size_t begin, std::size_t end,
                                             const std::string& parent, Findings& findings);

}  // namespace dffinfo
