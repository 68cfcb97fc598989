// The text listing of a texture dictionary.
#pragma once

#include <cstddef>
#include <ostream>

#include "dff_inspect/txd_records.h"

namespace dffinfo {

// One line for the dictionary, then one per texture: name, mask, format,
// size, mip levels, alpha, and the record's other fields.
void PrintDictionary(std::ostream& out, std::size_t index, const TextureDictionaryRecord& dictionary);

}  // namespace dffinfo
