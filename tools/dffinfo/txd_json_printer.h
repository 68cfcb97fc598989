// The JSON listing of a texture dictionary.
#pragma once

#include <nlohmann/json.hpp>

#include "dff_inspect/txd_records.h"

namespace dffinfo {

// {"origin", "textureCount", "deviceId", "textures": [{"name", "mask",
// "format", "width", "height", "mipmapCount", "alpha", ...}]}: every field
// of every native record as stored.
nlohmann::json DictionaryJson(const TextureDictionaryRecord& dictionary);

}  // namespace dffinfo
