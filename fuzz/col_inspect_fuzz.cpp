// dffinfo's COL reader on any bytes, with both listings printed, as
// dffinfo handles a COL file.
#include <cstddef>
#include <cstdint>
#include <sstream>

#include "dff_inspect/col_reader.h"
#include "tools/dffinfo/col_json_printer.h"
#include "tools/dffinfo/col_text_printer.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  dffinfo::Findings findings;
  const dffinfo::ByteSpan file{data, size};
  const std::vector<dffinfo::ColEntryRecord> entries = dffinfo::DecodeColEntries(file, 0, size, "", findings);
  std::ostringstream text;
  dffinfo::PrintColEntries(text, entries);
  dffinfo::ColEntriesJson(entries).dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
  return 0;
}
