#include "txd_build/image_search.h"

#include <algorithm>
#include <system_error>

#include "platform/device_names.h"

#include "txd_build/texture_uses.h"

namespace txdbuild {
namespace fs = std::filesystem;

const char* const kUsualImageFolderNames[6] = {"Images", "images", "textures", "Textures", "tex", "maps"};

const char* const kImageSearchHelp =
    "A texture's image is looked for in this order, first match wins: "
    "(1) when the scene or object stores the image's path, the places derived from that path; "
    "(2) the folders given with --images, in order; "
    "(3) the model's own folder; "
    "(4) the folders Images, images, textures, Textures, tex and maps inside the model's folder and "
    "inside each folder above it, up to the content directory (up to the root when none is known), "
    "so that a model in car/models/ finds its images in car/textures/.  "
    "In (2) to (4) the texture's name is tried with the extensions png, tga, jpg, jpeg and bmp, in any case.";

namespace {

constexpr std::size_t kPlacesShown = 3;

std::vector<fs::path> FoldersOfSteps2To4(const ImageSearchPlaces& places) {
  std::vector<fs::path> folders = places.imageFolders;
  folders.insert(folders.end(), places.modelFolders.begin(), places.modelFolders.end());
  const std::vector<fs::path> usual = UsualImageFolders(places.modelFolders, places.contentDirectory);
  folders.insert(folders.end(), usual.begin(), usual.end());
  return folders;
}

bool IsFile(const std::string& path) {
  std::error_code error;
  return fs::is_regular_file(path, error);
}

fs::path AbsoluteNormal(const fs::path& path) {
  std::error_code error;
  const fs::path absolute = fs::absolute(path.empty() ? fs::path(".") : path, error);
  return (error ? path : absolute).lexically_normal();
}

}  // namespace

std::vector<fs::path> UsualImageFolders(const std::vector<fs::path>& modelFolders, const fs::path& contentDirectory) {
  const fs::path stop = contentDirectory.empty() ? fs::path() : AbsoluteNormal(contentDirectory);
  std::vector<fs::path> folders;
  for (const fs::path& modelFolder : modelFolders) {
    for (fs::path folder = AbsoluteNormal(modelFolder);; folder = folder.parent_path()) {
      for (const char* name : kUsualImageFolderNames) {
        const fs::path candidate = folder / name;
        if (std::find(folders.begin(), folders.end(), candidate) == folders.end()) folders.push_back(candidate);
      }
      if (folder == stop || folder == folder.parent_path()) break;
    }
  }
  return folders;
}

ImageSearch::ImageSearch(ImageSearchPlaces places)
    : places_(std::move(places)), folders_(FoldersOfSteps2To4(places_)) {}

const std::string* ImageSearch::StoredFile(const std::string& textureName) const {
  const auto stored = places_.storedFiles.find(LowerCaseName(textureName));
  return stored == places_.storedFiles.end() ? nullptr : &stored->second;
}

std::optional<fs::path> ImageSearch::Find(const std::string& textureName) const {
  if (const std::string* stored = StoredFile(textureName)) {
    for (const std::string& candidate : host::FileCandidates(*stored, places_.storedSearch)) {
      if (IsFile(candidate)) return fs::path(candidate);
    }
  }
  return folders_.Find(platform::DeviceSafeStem(textureName));
}

std::vector<std::string> ImageSearch::Places(const std::string& textureName) const {
  std::vector<std::string> places;
  if (const std::string* stored = StoredFile(textureName)) places = host::FileCandidates(*stored, places_.storedSearch);
  std::string extensions;
  for (const char* extension : kImageExtensions) extensions += (extensions.empty() ? "" : "|") + std::string(extension);
  for (const fs::path& folder : folders_.folders()) {
    places.push_back((folder / platform::DeviceSafeStem(textureName)).string() + ".(" + extensions + ")");
  }
  return places;
}

std::string ImageSearch::DescribeSearch(const std::string& textureName, bool verbose) const {
  std::string text;
  if (const std::string* stored = StoredFile(textureName)) text += "  stored as " + *stored + "\n";
  const std::vector<std::string> places = Places(textureName);
  text += "  " + std::to_string(places.size()) + " places tried";
  const std::size_t shown = verbose ? places.size() : std::min(places.size(), kPlacesShown);
  text += verbose ? ":" : ", the first " + std::to_string(shown) + ":";
  for (std::size_t i = 0; i < shown; ++i) text += "\n    " + places[i];
  text += "\n  name the folder that holds it with --images DIR";
  if (!verbose) text += " (--verbose lists every place tried)";
  return text;
}

ImageLookup ImageSearch::Lookup(bool verbose) const {
  ImageLookup lookup;
  lookup.find = [this](const std::string& name) { return Find(name); };
  lookup.describeSearch = [this, verbose](const std::string& name) { return DescribeSearch(name, verbose); };
  return lookup;
}

}  // namespace txdbuild
