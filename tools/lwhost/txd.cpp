#include "tools/lwhost/txd.h"

#include <algorithm>
#include <cstdio>
#include <system_error>

#include "lightwave/file_search.h"
#include "platform/path_rules.h"
#include "dff_inspect/inspect.h"
#include "txd_build/dictionary_builder.h"
#include "txd_build/dictionary_file.h"
#include "txd_build/texture_uses.h"

namespace host::lwhost {
namespace fs = std::filesystem;

namespace {

bool IsFile(const std::string& path) {
  std::error_code ec;
  return fs::is_regular_file(path, ec);
}

}  // namespace

SceneImages::SceneImages(const std::vector<Image>& images, const std::string& scenePath,
                         const std::string& contentDirectory) {
  const std::string sceneDirectory = fs::path(scenePath).parent_path().string();
  for (const Image& image : images) {
    if (image.filename.empty()) continue;
    const std::string key = txdbuild::LowerCaseName(platform::RemoveExtension(image.name));
    if (byName_.count(key) != 0) continue;
    Entry entry;
    entry.written = image.filename;
    entry.candidates = FileCandidates(image.filename, FileSearch{contentDirectory, sceneDirectory, "Images"});
    const auto found = std::find_if(entry.candidates.begin(), entry.candidates.end(), IsFile);
    if (found != entry.candidates.end()) entry.found = *found;
    byName_.emplace(key, std::move(entry));
  }
}

fs::path SceneImages::Find(const std::string& textureName) const {
  const auto entry = byName_.find(txdbuild::LowerCaseName(textureName));
  return entry == byName_.end() ? fs::path() : entry->second.found;
}

std::string SceneImages::DescribeSearch(const std::string& textureName) const {
  const auto entry = byName_.find(txdbuild::LowerCaseName(textureName));
  if (entry == byName_.end()) return "no image of the scene's surfaces has that name";
  std::string text = "the scene names the file " + entry->second.written + "; tried";
  const char* separator = " ";
  for (const std::string& candidate : entry->second.candidates) {
    text += separator + candidate;
    separator = ", ";
  }
  return text;
}

bool BuildSceneTxd(const SceneImages& images, const std::string& dffPath, const std::string& txdPath) {
  std::vector<std::uint8_t> bytes;
  std::string error;
  if (!dffinfo::ReadWholeFile(dffPath, bytes, error)) {
    std::fprintf(stderr, "lwhost: the TXD was not built: %s\n", error.c_str());
    return false;
  }
  const txdbuild::ImageLookup lookup{
      [&images](const std::string& name) -> std::optional<fs::path> {
        fs::path found = images.Find(name);
        if (found.empty()) return std::nullopt;
        return found;
      },
      [&images](const std::string& name) { return images.DescribeSearch(name); }};
  const txdbuild::DictionaryBuild build = txdbuild::BuildDictionary(
      txdbuild::CollectTextureUses(dffinfo::Inspect(bytes)), lookup, pixels::EncodeOptions{});
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
