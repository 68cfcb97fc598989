// The entry point of the DFF reader: a file's bytes in, its chunk tree,
// decoded clumps (or, for a TXD, texture dictionaries; for a COL file, its
// entries) and findings out.
//
//   std::vector<std::uint8_t> bytes = ...;           // e.g. an OutputStream's bytes()
//   dffinfo::Inspection result = dffinfo::Inspect(bytes);
//   if (!result.sound()) ... result.findings.all() ...
//   const dffinfo::ClumpRecord& clump = result.clumps.at(0);
//
// Any file is accepted: chunk types it does not know are listed and skipped
// by their size, and nothing in the file can make it crash, loop or
// allocate more than a small multiple of the file's own size.
#pragma once

#include <filesystem>

#include <cstdint>
#include <string>
#include <vector>

#include "dff_inspect/byte_reader.h"
#include "dff_inspect/chunk_tree.h"
#include "dff_inspect/col_records.h"
#include "dff_inspect/findings.h"
#include "dff_inspect/records.h"
#include "dff_inspect/txd_records.h"

namespace dffinfo {

struct Inspection {
  std::vector<Chunk> chunks;        // the top-level chunks with everything nested in them
  std::vector<ClumpRecord> clumps;  // one per top-level Clump, in file order
  std::vector<TextureDictionaryRecord> dictionaries;  // one per top-level TextureDictionary
  // The entries of a COL file, or those embedded in the clumps' collision
  // records (their paths say which).
  std::vector<ColEntryRecord> colEntries;
  Findings findings;

  // No damage; warnings about the game's limits are allowed.
  bool sound() const { return !findings.HasDamage(); }
};

Inspection Inspect(ByteSpan file);
Inspection Inspect(const std::vector<std::uint8_t>& file);

// Reads a whole file.  On failure returns false with a message that names
// the file and the system's reason.
bool ReadWholeFile(const std::string& path, std::vector<std::uint8_t>& bytes, std::string& error);

// The same for a path in the file system's own form (UTF-16 on Windows),
// which opens names outside the system's code page too; the message names
// the file in UTF-8.
bool ReadWholeFileAt(const std::filesystem::path& path, std::vector<std::uint8_t>& bytes, std::string& error);

}  // namespace dffinfo
