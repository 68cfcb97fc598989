// Builds the textures of a dictionary from the textures a model uses and
// the images found for them, collecting every problem on the way so that
// the user sees them all at once.
#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "pixels/texture_encoder.h"
#include "txd_build/shared_textures.h"
#include "txd_build/texture_uses.h"
#include "txd/native_texture.h"

namespace txdbuild {

// How the images of textures are found.
struct ImageLookup {
  // The image file of a texture or mask name, or nothing.
  std::function<std::optional<std::filesystem::path>(const std::string& name)> find;
  // Where `find` looked for a name, for the message about a missing image:
  // lines that follow the one naming the texture.
  std::function<std::string(const std::string& name)> describeSearch;
};

struct DictionaryBuild {
  std::vector<txd::NativeTexture> textures;  // in the order of first use
  // Textures left out because no image was found, one message each.
  std::vector<std::string> missing;
  // Textures that cannot be made at all: names too long for the game,
  // images that cannot be read or decoded.
  std::vector<std::string> errors;
};

// With `shared`, a texture whose image (and mask) was found takes the one
// already built for another dictionary, or is kept there once built.
DictionaryBuild BuildDictionary(const std::vector<TextureUse>& uses, const ImageLookup& lookup,
                                const pixels::EncodeOptions& options, SharedTextures* shared = nullptr);

}  // namespace txdbuild
