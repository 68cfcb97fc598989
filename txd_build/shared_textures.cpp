#include "txd_build/shared_textures.h"

namespace txdbuild {

std::optional<txd::NativeTexture> SharedTextures::Find(const Key& key) const {
  const std::lock_guard<std::mutex> lock(mutex_);
  const auto found = textures_.find(key);
  if (found == textures_.end()) return std::nullopt;
  return found->second;
}

void SharedTextures::Keep(const Key& key, const txd::NativeTexture& texture) {
  const std::lock_guard<std::mutex> lock(mutex_);
  textures_.emplace(key, texture);
}

}  // namespace txdbuild
