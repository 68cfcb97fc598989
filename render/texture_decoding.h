// The textures of a dictionary as texels: the first (largest) level of each
// Direct3D 9 texture, decoded to 8-bit RGBA, top row first as the game
// maps it (v = 0 at the top).
#pragma once

#include <map>
#include <string>
#include <vector>

#include "dff_inspect/byte_reader.h"
#include "dff_inspect/txd_records.h"
#include "pixels/rgba_image.h"

namespace render {

// How a texture's alpha is drawn: opaque texels need neither test nor
// blend; a texture whose texels are either fully transparent or opaque is
// alpha-tested; any other alpha is blended with what lies behind.
enum class TextureAlpha { kOpaque, kCutOut, kTranslucent };

struct Texture {
  pixels::RgbaImage image;
  TextureAlpha alpha = TextureAlpha::kOpaque;
};

struct DecodedTextures {
  std::map<std::string, Texture> byName;  // names in lower case: the game finds textures without case
  std::vector<std::string> notes;         // one line per texture that could not be decoded, and why
};

// Decodes every texture of `dictionary`, whose bytes are `file`.  The DXT
// formats are decoded by libsquish; 8888, 888, 565, 555, 1555, 4444 and
// LUM8 here.  A palettised texture, one of another platform or format, or
// one whose bytes are cut short is left out with a note.
DecodedTextures DecodeTextures(dffinfo::ByteSpan file, const dffinfo::TextureDictionaryRecord& dictionary);

// `name` in lower case (ASCII), as texture names are compared.
std::string TextureKey(const std::string& name);

}  // namespace render
