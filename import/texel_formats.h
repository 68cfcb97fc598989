// Level 0 of a Direct3D 9 native texture decoded to RGBA8, from the bytes
// after its fixed fields: the palette, if any, then the level's byte count
// and data.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "dff_inspect/txd_records.h"

namespace import {

struct DecodedLevel {
  std::vector<std::uint8_t> rgba;  // empty when not decoded
  std::string problem;             // why not, when not
};

// `data` holds `size` bytes: everything the texture's Struct holds after
// its 88 fixed bytes.
DecodedLevel DecodeFirstLevel(const dffinfo::NativeTextureRecord& texture, const std::uint8_t* data, std::size_t size);

}  // namespace import
