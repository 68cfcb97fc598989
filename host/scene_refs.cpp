#include "host/scene_refs.h"

namespace host {
namespace {

// Finds the element at a flat position of a list of lists.
template <typename Outer, typename InnerOf>
std::optional<std::pair<std::size_t, std::size_t>> Locate(const Outer& outer, InnerOf innerOf,
                                                          std::size_t ordinal) {
  for (std::size_t i = 0; i < outer.size(); ++i) {
    const std::size_t size = innerOf(outer[i]).size();
    if (ordinal < size) return std::make_pair(i, ordinal);
    ordinal -= size;
  }
  return std::nullopt;
}

template <typename Outer, typename InnerOf>
std::size_t FlatPosition(const Outer& outer, InnerOf innerOf, std::size_t i, std::size_t j) {
  std::size_t ordinal = j;
  for (std::size_t k = 0; k < i && k < outer.size(); ++k) ordinal += innerOf(outer[k]).size();
  return ordinal;
}

const auto kSurfacesOf = [](const ObjectFile& file) -> const auto& { return file.surfaces; };
const auto kLayersOf = [](const Texture& texture) -> const auto& { return texture.layers; };

}  // namespace

std::optional<SurfaceRef> SurfaceAt(const Scene& scene, std::size_t ordinal) {
  const auto found = Locate(scene.objectFiles, kSurfacesOf, ordinal);
  if (!found) return std::nullopt;
  return SurfaceRef{found->first, found->second};
}

std::size_t SurfaceOrdinal(const Scene& scene, SurfaceRef ref) {
  return FlatPosition(scene.objectFiles, kSurfacesOf, ref.file, ref.surface);
}

std::size_t SurfaceCount(const Scene& scene) {
  return FlatPosition(scene.objectFiles, kSurfacesOf, scene.objectFiles.size(), 0);
}

const Surface& SurfaceOf(const Scene& scene, SurfaceRef ref) {
  return scene.objectFiles[ref.file].surfaces[ref.surface];
}

std::optional<LayerRef> LayerAt(const Scene& scene, std::size_t ordinal) {
  const auto found = Locate(scene.textures, kLayersOf, ordinal);
  if (!found) return std::nullopt;
  return LayerRef{found->first, found->second};
}

std::size_t LayerOrdinal(const Scene& scene, LayerRef ref) {
  return FlatPosition(scene.textures, kLayersOf, ref.texture, ref.layer);
}

std::size_t LayerCount(const Scene& scene) {
  return FlatPosition(scene.textures, kLayersOf, scene.textures.size(), 0);
}

}  // namespace host
