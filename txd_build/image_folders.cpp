#include "txd_build/image_folders.h"

#include "txd_build/texture_uses.h"

#include <algorithm>
#include <system_error>

namespace txdbuild {
namespace fs = std::filesystem;

const char* const kImageExtensions[5] = {"png", "tga", "jpg", "jpeg", "bmp"};

namespace {

std::map<std::string, fs::path> ListFiles(const fs::path& folder) {
  std::map<std::string, fs::path> files;
  std::error_code ec;
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    std::error_code kind;
    if (!it->is_regular_file(kind)) continue;
    files.emplace(LowerCaseName(it->path().filename().string()), it->path());
  }
  return files;
}

}  // namespace

ImageFolders::ImageFolders(const std::vector<fs::path>& folders) {
  for (const fs::path& folder : folders) {
    const fs::path normal = folder.empty() ? fs::path(".") : folder.lexically_normal();
    if (std::find(folders_.begin(), folders_.end(), normal) != folders_.end()) continue;
    folders_.push_back(normal);
    files_.push_back(ListFiles(normal));
  }
}

std::optional<fs::path> ImageFolders::Find(const std::string& name) const {
  const std::string stem = LowerCaseName(name);
  for (const auto& files : files_) {
    for (const char* extension : kImageExtensions) {
      const auto found = files.find(stem + "." + extension);
      if (found != files.end()) return found->second;
    }
  }
  return std::nullopt;
}

}  // namespace txdbuild
