// Textures built once for the dictionaries of several models that use the
// same images (the models of a map section), safe to share between the
// threads that build those dictionaries.  A texture comes out the same for
// every model that names it alike with the same image and mask files, when
// the dictionaries are built with the same encoding options: one
// SharedTextures serves one set of options.
#pragma once

#include <filesystem>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <tuple>

#include "txd/native_texture.h"

namespace txdbuild {

class SharedTextures {
 public:
  struct Key {
    std::string name;
    std::string mask;
    std::filesystem::path image;
    std::filesystem::path maskImage;  // empty without a mask

    bool operator<(const Key& other) const {
      return std::tie(name, mask, image, maskImage) < std::tie(other.name, other.mask, other.image, other.maskImage);
    }
  };

  // The texture kept for `key`, if one is.
  std::optional<txd::NativeTexture> Find(const Key& key) const;
  // Keeps `texture` for the dictionaries built after; the first kept wins.
  void Keep(const Key& key, const txd::NativeTexture& texture);

 private:
  mutable std::mutex mutex_;
  std::map<Key, txd::NativeTexture> textures_;
};

}  // namespace txdbuild
