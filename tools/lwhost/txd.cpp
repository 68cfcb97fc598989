#include "tools/lwhost/txd.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>

#include "dff_inspect/inspect.h"
#include "platform/device_names.h"
#include "txd_build/dictionary_builder.h"
#include "txd_build/dictionary_file.h"
#include "txd_build/texture_uses.h"

namespace host::lwhost {
namespace fs = std::filesystem;

txdbuild::ImageSearchPlaces SceneImagePlaces(const Scene& scene, const std::string& inputPath,
                                             const std::string& contentDirectory,
                                             const std::vector<std::string>& imageFolders) {
  txdbuild::ImageSearchPlaces places;
  for (const Image& image : scene.images) {
    if (image.filename.empty()) continue;
    // The first image of a name serves it, as the exporter names textures.
    places.storedFiles.emplace(txdbuild::LowerCaseName(platform::TextureNameOfImage(image.name)), image.filename);
  }
  const fs::path inputFolder = fs::path(inputPath).parent_path();
  places.storedSearch = FileSearch{contentDirectory, inputFolder.string(), "Images"};
  places.imageFolders.assign(imageFolders.begin(), imageFolders.end());
  for (const ObjectFile& object : scene.objectFiles) {
    const fs::path folder = fs::path(object.filename).parent_path();
    if (std::find(places.modelFolders.begin(), places.modelFolders.end(), folder) == places.modelFolders.end()) {
      places.modelFolders.push_back(folder);
    }
  }
  places.modelFolders.push_back(inputFolder);
  places.contentDirectory = contentDirectory;
  return places;
}

bool BuildSceneTxd(const txdbuild::ImageSearch& search, bool verbose, const std::string& dffPath,
                   const std::string& txdPath) {
  std::vector<std::uint8_t> bytes;
  std::string error;
  if (!dffinfo::ReadWholeFile(dffPath, bytes, error)) {
    std::fprintf(stderr, "lwhost: the TXD was not built: %s\n", error.c_str());
    return false;
  }
  const txdbuild::DictionaryBuild build = txdbuild::BuildDictionary(
      txdbuild::CollectTextureUses(dffinfo::Inspect(bytes)), search.Lookup(verbose), pixels::EncodeOptions{});
  for (const std::string& line : build.errors) std::fprintf(stderr, "lwhost: %s\n", line.c_str());
  for (const std::string& line : build.missing) std::fprintf(stderr, "lwhost: %s\n", line.c_str());
  if (!build.errors.empty() || !build.missing.empty()) {
    std::fprintf(stderr,
                 "lwhost: %s was not written (the DFF was); maketxd %s -o %s --allow-missing "
                 "builds it without the missing textures\n",
                 txdPath.c_str(), dffPath.c_str(), txdPath.c_str());
    return false;
  }
  if (!txdbuild::WriteDictionaryFile(build.textures, txdPath, error)) {
    std::fprintf(stderr, "lwhost: %s was not written: %s\n", txdPath.c_str(), error.c_str());
    return false;
  }
  std::printf("Wrote %s (%zu textures)\n", txdPath.c_str(), build.textures.size());
  return true;
}

}  // namespace host::lwhost
