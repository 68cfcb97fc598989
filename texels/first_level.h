// Level 0 of a texture dictionary's Direct3D 9 texture decoded to 8-bit
// RGBA, top row first as the game maps it (v = 0 at the top): the DXT
// formats, the uncompressed ones (8888, 888, 565, 555, 1555, 4444, L8,
// A8L8) and the 4- and 8-bit palettes.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "dff_inspect/byte_reader.h"
#include "dff_inspect/txd_records.h"

namespace texels {

struct DecodedLevel {
  std::vector<std::uint8_t> rgba;  // width * height * 4 bytes; empty when not decoded
  std::string problem;             // why not, when not
};

// Decodes `texture` from `file`, the bytes of the dictionary it was read
// from.  The level is read from the texture's Struct as stored (the
// palette first, if any, then the level's byte count and data), so a
// palettised texture decodes although dff_inspect does not list its levels.
DecodedLevel DecodeFirstLevel(dffinfo::ByteSpan file, const dffinfo::NativeTextureRecord& texture);

}  // namespace texels
