#include "lightwave/lws_object_paths.h"

#include <algorithm>
#include <filesystem>

namespace host {
namespace {

namespace fs = std::filesystem;

void AddOnce(std::vector<std::string>& paths, const fs::path& path) {
  const std::string text = path.lexically_normal().generic_string();
  if (std::find(paths.begin(), paths.end(), text) == paths.end()) paths.push_back(text);
}

}  // namespace

std::vector<std::string> ObjectPathCandidates(const std::string& written, const std::string& sceneDirectory,
                                              const std::string& contentDirectory) {
  std::string path = written;
  std::replace(path.begin(), path.end(), '\\', '/');
  std::vector<std::string> candidates;
  if (!path.empty() && path.front() == '/') AddOnce(candidates, path);

  // A volume ("C:", "Q:", "Macintosh HD:") ends at the first colon that
  // comes before any folder separator.
  std::string relative = path;
  const std::size_t colon = path.find(':');
  if (colon != std::string::npos && colon < path.find('/')) relative = path.substr(colon + 1);
  relative.erase(0, relative.find_first_not_of('/'));

  if (!relative.empty()) {
    const fs::path scene = sceneDirectory.empty() ? fs::path(".") : fs::path(sceneDirectory);
    if (!contentDirectory.empty()) AddOnce(candidates, fs::path(contentDirectory) / relative);
    AddOnce(candidates, scene / relative);
    AddOnce(candidates, scene / ".." / relative);
    AddOnce(candidates, scene / ".." / ".." / relative);
    AddOnce(candidates, scene / fs::path(relative).filename());
  }
  return candidates;
}

}  // namespace host
