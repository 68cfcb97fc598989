#include "map_export/map_dictionary.h"

#include <algorithm>
#include <filesystem>
#include <map>
#include <memory>
#include <set>
#include <system_error>

#include "platform/device_names.h"
#include "platform/host_path.h"
#include "platform/path_rules.h"
#include "txd_build/dictionary_builder.h"
#include "txd_build/dictionary_file.h"
#include "txd_build/image_search.h"

namespace mapexport {
namespace {
namespace fs = std::filesystem;

// Where the map command finds a texture's image: first the file the host
// lists for the scene's image of that name (the texture name the exporter
// gives each image, platform/device_names.h, compared without case;
// the first image of a name wins, as it does for the materials), then the
// search maketxd makes from the object files' folders: those folders, and
// the usual image folders beside each and above it.
class MapImageSearch {
 public:
  explicit MapImageSearch(const scene::HostServices& services) : folders_(ObjectFolderPlaces(services)) {
    const LWImageList& images = *services.imageList;
    const platform::TextEncoding encoding = services.ServedAs(scene::Service::kImageList).text;
    for (LWImageID image = images.first(); image != nullptr; image = images.next(image)) {
      const char* name = images.name(image);
      const char* file = images.filename(image, 0);
      if (name == nullptr || file == nullptr) continue;
      const std::string key = txdbuild::LowerCaseName(platform::TextureNameOfImage(name));
      files_.emplace(key, Entry{file, platform::PathFromHostText(file, encoding)});
    }
  }

  std::optional<fs::path> Find(const std::string& textureName) const {
    const auto found = files_.find(txdbuild::LowerCaseName(textureName));
    std::error_code error;
    if (found != files_.end() && fs::is_regular_file(found->second.path, error)) return found->second.path;
    return folders_.Find(textureName);
  }

  // A few lines: the host's file, and how many places the folder search
  // tried with the first few of them.
  std::string DescribeSearch(const std::string& textureName) const {
    const auto found = files_.find(txdbuild::LowerCaseName(textureName));
    std::string text = found == files_.end()
                           ? "no image of the scene has that name"
                           : "the scene's image is the file " + found->second.written + ", which is not there";
    const std::vector<std::string> places = folders_.Places(textureName);
    const std::size_t shown = std::min<std::size_t>(places.size(), 3);
    text += ";\n" + std::to_string(places.size()) + " places beside the object were tried too, the first " +
            std::to_string(shown) + ":";
    for (std::size_t i = 0; i < shown; ++i) text += "\n  " + places[i];
    return text;
  }

 private:
  // The folder of every object file of the scene's object items, each
  // once; Layout's content directory is not known, so the usual image
  // folders are looked for up to the root.
  static txdbuild::ImageSearchPlaces ObjectFolderPlaces(const scene::HostServices& services) {
    txdbuild::ImageSearchPlaces places;
    const platform::TextEncoding encoding = services.ServedAs(scene::Service::kObjectInfo).text;
    for (LWItemID item = services.itemInfo->first(LWI_OBJECT, nullptr); item != nullptr;
         item = services.itemInfo->next(item)) {
      const char* file = services.objectInfo->filename(item);
      if (file == nullptr || *file == '\0') continue;
      const fs::path folder = platform::PathFromHostText(file, encoding).parent_path();
      if (std::find(places.modelFolders.begin(), places.modelFolders.end(), folder) == places.modelFolders.end()) {
        places.modelFolders.push_back(folder);
      }
    }
    return places;
  }

  struct Entry {
    std::string written;  // as the host names it
    fs::path path;
  };
  std::map<std::string, Entry> files_;
  txdbuild::ImageSearch folders_;
};

void AddUse(const std::string& name, const std::string& where, std::set<std::string>& seen,
            std::vector<txdbuild::TextureUse>& uses) {
  if (name.empty() || !seen.insert(txdbuild::LowerCaseName(name)).second) return;
  uses.push_back({name, "", where});
}

}  // namespace

std::vector<txdbuild::TextureUse> ModelTextureUses(const LWItemInfo& itemInfo, const scene::DffExporter& exporter) {
  std::vector<txdbuild::TextureUse> uses;
  std::set<std::string> seen;
  for (const auto& mesh : exporter.meshObjects) {
    const char* item = itemInfo.name(mesh->itemId);
    for (const scene::MaterialEntry& material : mesh->materials) {
      const std::string where =
          "surface \"" + material.surfaceName + "\" of \"" + std::string(item != nullptr ? item : "") + "\"";
      if (material.textured > 0) AddUse(material.textureName, where, seen, uses);
      if (material.reflectionImageName) AddUse(*material.reflectionImageName, where, seen, uses);
    }
  }
  return uses;
}

txdbuild::ImageLookup MapImageLookup(const scene::HostServices& services) {
  const auto images = std::make_shared<const MapImageSearch>(services);
  return {[images](const std::string& name) { return images->Find(name); },
          [images](const std::string& name) { return images->DescribeSearch(name); }};
}

MapTextures BuildMapTextures(const txdbuild::ImageLookup& lookup, const std::vector<txdbuild::TextureUse>& uses,
                             txdbuild::SharedTextures* shared) {
  MapTextures result;
  txdbuild::DictionaryBuild build = txdbuild::BuildDictionary(uses, lookup, pixels::EncodeOptions{}, shared);
  const char* consequence =
      "The game draws what uses it white or not at all; make the image readable where the scene names it, or "
      "put it beside the object or in an Images or textures folder beside the object's folder or above it, and "
      "export again.";
  for (const std::string& missing : build.missing) {
    result.warnings.push_back({"Left out of the TXD: " + missing + ".", consequence});
  }
  for (const std::string& unreadable : build.errors) {
    result.warnings.push_back({"Left out of the TXD: " + unreadable + ".", consequence});
  }
  result.textures = std::move(build.textures);
  return result;
}

MapDictionary WriteMapDictionary(const scene::HostServices& services, const std::vector<txdbuild::TextureUse>& uses,
                                 const std::string& txdPath) {
  MapTextures built = BuildMapTextures(MapImageLookup(services), uses);
  MapDictionary result;
  result.warnings = std::move(built.warnings);
  std::string error;
  if (!txdbuild::WriteDictionaryFile(built.textures, txdPath, error)) {
    result.error = scene::MessageLines{"The TXD file " + txdPath + " was not written: " + error, ""};
    return result;
  }
  const std::size_t count = built.textures.size();
  result.summary = platform::StripPath(txdPath) + " (" + std::to_string(count) + (count == 1 ? " texture)" : " textures)");
  return result;
}

}  // namespace mapexport
