// Puts a dictionary on disk by the exporter's rule: the bytes go to a
// temporary file beside the chosen name, which takes that name only after
// a complete write.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "txd/native_texture.h"

namespace txdbuild {

// False with the reason in `error` when the file was not written; the
// chosen path is then left as it was.
bool WriteDictionaryFile(const std::vector<txd::NativeTexture>& textures, const std::string& path,
                         std::string& error);

// The dictionary's bytes, for a file that holds it among others.
std::vector<std::uint8_t> DictionaryBytes(const std::vector<txd::NativeTexture>& textures);

}  // namespace txdbuild
