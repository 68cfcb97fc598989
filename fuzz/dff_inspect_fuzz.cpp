// The DFF reader on any bytes, with everything it found printed as text
// and as JSON, since the printers walk every record the decoders made.
#include <cstddef>
#include <cstdint>
#include <sstream>

#include "dff_inspect/inspect.h"
#include "tools/dffinfo/json_printer.h"
#include "tools/dffinfo/text_printer.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const dffinfo::Inspection inspection = dffinfo::Inspect(dffinfo::ByteSpan{data, size});
  std::ostringstream text;
  dffinfo::PrintText(text, inspection);
  dffinfo::PrintFindings(text, inspection);
  // Names in a DFF are any bytes; dffinfo replaces what is not UTF-8, as here.
  dffinfo::ToJson(inspection, true).dump(1, ' ', false, nlohmann::json::error_handler_t::replace);
  return 0;
}
