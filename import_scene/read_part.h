// One game file read whole and handed to its reader, for the conversion:
// what failed becomes the conversion's outcome and error, the reader's
// warnings its warnings.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "dff_inspect/inspect.h"
#include "import/game_files.h"
#include "import_scene/model_files.h"

namespace import_scene {

// Reads `path` (UTF-8) with `reader`; on failure records why in
// `conversion`.
template <class T, class Reader>
std::optional<T> ReadPart(const std::string& path, Reader reader, Conversion& conversion) {
  std::vector<std::uint8_t> bytes;
  std::string error;
  if (!dffinfo::ReadWholeFileAt(std::filesystem::u8path(path), bytes, error)) {
    conversion.outcome = Conversion::Outcome::kUnreadable;
    conversion.error = error;
    return std::nullopt;
  }
  import::Read<T> read = reader(bytes, path);
  conversion.warnings.insert(conversion.warnings.end(), read.warnings.begin(), read.warnings.end());
  if (!read.value) {
    conversion.outcome = Conversion::Outcome::kRefused;
    conversion.error = read.error;
  }
  return std::move(read.value);
}

}  // namespace import_scene
