// Writes a texture dictionary: the TextureDictionary chunk with its Struct
// (texture count, device id), one TextureNative chunk per texture with the
// native record and an empty Extension, and the dictionary's own empty
// Extension, every chunk stamped 0x1803FFFF.
#pragma once

#include <string>
#include <vector>

#include "dff/output_stream.h"
#include "txd/native_texture.h"

namespace txd {

// Why a texture cannot be written as it is, or an empty string when it can:
// a name or mask that does not fit its field, a level count of 0 or more
// than a byte holds.
std::string CheckNativeTexture(const NativeTexture& texture);

// Appends the whole dictionary to `stream`.  A texture that
// CheckNativeTexture refuses fails the stream with that reason, and so does
// a dictionary of more textures than the 16-bit count holds.
void WriteTextureDictionary(dff::OutputStream& stream, const std::vector<NativeTexture>& textures);

}  // namespace txd
