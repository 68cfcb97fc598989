// Decodes a TextureDictionary chunk and checks what the game's reader and
// the common tools rely on.
#pragma once

#include "dff_inspect/chunk_tree.h"
#include "dff_inspect/findings.h"
#include "dff_inspect/txd_records.h"

namespace dffinfo {

// Damage: what makes a reader reject the dictionary or misread a texture
// (counts that disagree, a missing Struct or Extension, records cut short,
// level byte counts other than the format's, DXT data not flagged as
// compressed).  Warnings: what loads but the game may not show as meant
// (names without room for their terminator, sizes that are not powers of
// two, mip levels without the mipmap flag, names used twice).
TextureDictionaryRecord DecodeTextureDictionary(ByteSpan file, const Chunk& dictionary, Findings& findings);

}  // namespace dffinfo
