#include "txd_build/dictionary_builder.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <iterator>

#include "pixels/image_decoder.h"

namespace txdbuild {
namespace fs = std::filesystem;

namespace {

std::string TooLong(const std::string& what, const std::string& name, const TextureUse& use) {
  return "the " + what + " name \"" + name + "\" of " + use.material + " is " +
         std::to_string(name.size()) + " bytes long; the game takes at most " +
         std::to_string(txd::kMaxNameBytes) + ": shorten it in the model and its image file";
}

// The shared texture's key: the names and the files found for them;
// nothing when a file is not found (the build then says so).
std::optional<SharedTextures::Key> SharedKey(const TextureUse& use, const ImageLookup& lookup) {
  SharedTextures::Key key{use.name, use.mask, {}, {}};
  const std::optional<fs::path> image = lookup.find(use.name);
  if (!image) return std::nullopt;
  key.image = *image;
  if (!use.mask.empty()) {
    const std::optional<fs::path> mask = lookup.find(use.mask);
    if (!mask) return std::nullopt;
    key.maskImage = *mask;
  }
  return key;
}

// The decoded image of `name`; nothing with a message in `build` otherwise.
std::optional<pixels::RgbaImage> LoadImage(const std::string& name, const TextureUse& use,
                                           const ImageLookup& lookup, DictionaryBuild& build) {
  const std::optional<fs::path> file = lookup.find(name);
  if (!file) {
    build.missing.push_back("no image for \"" + name + "\" (" + use.material + "):\n" +
                            lookup.describeSearch(name));
    return std::nullopt;
  }
  errno = 0;
  std::ifstream in(*file, std::ios::binary);
  if (!in.is_open()) {
    build.errors.push_back("cannot open the image " + file->string() + ": " + std::strerror(errno));
    return std::nullopt;
  }
  std::vector<std::uint8_t> bytes(std::istreambuf_iterator<char>(in), {});
  if (in.bad()) {
    build.errors.push_back("cannot read the image " + file->string() + ": " + std::strerror(errno));
    return std::nullopt;
  }
  try {
    return pixels::DecodeImage(bytes, file->string());
  } catch (const pixels::ImageError& error) {
    build.errors.push_back(error.what());
    return std::nullopt;
  }
}

}  // namespace

DictionaryBuild BuildDictionary(const std::vector<TextureUse>& uses, const ImageLookup& lookup,
                                const pixels::EncodeOptions& options, SharedTextures* shared) {
  DictionaryBuild build;
  for (const TextureUse& use : uses) {
    if (use.name.size() > txd::kMaxNameBytes) {
      build.errors.push_back(TooLong("texture", use.name, use));
      continue;
    }
    if (use.mask.size() > txd::kMaxNameBytes) {
      build.errors.push_back(TooLong("mask", use.mask, use));
      continue;
    }
    const std::optional<SharedTextures::Key> key = shared != nullptr ? SharedKey(use, lookup) : std::nullopt;
    if (key) {
      if (std::optional<txd::NativeTexture> built = shared->Find(*key)) {
        build.textures.push_back(std::move(*built));
        continue;
      }
    }
    std::optional<pixels::RgbaImage> image = LoadImage(use.name, use, lookup, build);
    std::optional<pixels::RgbaImage> mask;
    if (!use.mask.empty()) mask = LoadImage(use.mask, use, lookup, build);
    if (!image || (!use.mask.empty() && !mask)) continue;
    build.textures.push_back(pixels::EncodeTexture(use.name, use.mask, std::move(*image), mask, options));
    if (key) shared->Keep(*key, build.textures.back());
  }
  return build;
}

}  // namespace txdbuild
