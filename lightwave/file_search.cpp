#include "lightwave/file_search.h"

#include <algorithm>
#include <filesystem>
#include <iterator>
#include <system_error>

namespace host {
namespace {

namespace fs = std::filesystem;

void AddOnce(std::vector<std::string>& paths, const fs::path& path) {
  const std::string text = path.lexically_normal().generic_string();
  if (std::find(paths.begin(), paths.end(), text) == paths.end()) paths.push_back(text);
}

// The stored path without its volume and leading separators, in forward
// slashes.  A volume ("C:", "Q:", "Macintosh HD:") ends at the first colon
// that comes before any folder separator.
std::string WithoutVolume(std::string path) {
  std::replace(path.begin(), path.end(), '\\', '/');
  const std::size_t colon = path.find(':');
  if (colon != std::string::npos && colon < path.find('/')) path.erase(0, colon + 1);
  path.erase(0, path.find_first_not_of('/'));
  return path;
}

// "a/b/c.lwo" gives "a/b/c.lwo", "b/c.lwo", "c.lwo", longest first, made
// from the end so that a deep path stops at kMostTrailingParts; empty parts
// ("a//b") are skipped.
std::vector<std::string> TrailingParts(const std::string& relative) {
  std::vector<std::string> parts;
  std::size_t end = relative.size();
  while (end > 0 && relative[end - 1] == '/') --end;
  if (end == 0) return parts;
  std::size_t start = end;
  while (parts.size() < kMostTrailingParts) {
    const std::size_t slash = relative.rfind('/', start - 1);
    start = slash == std::string::npos ? 0 : slash + 1;
    if (start < end) parts.push_back(relative.substr(start, end - start));
    if (slash == std::string::npos) break;
    start = slash;
    while (start > 0 && relative[start - 1] == '/') --start;
    if (start == 0) break;
  }
  std::reverse(parts.begin(), parts.end());
  return parts;
}

// The content directory, the naming folder and every folder above it.  A
// relative naming folder stays relative ("scenes", ".", "..", ...), so that
// the places tried read as the user gave them.
std::vector<fs::path> SearchFolders(const FileSearch& search) {
  std::vector<fs::path> folders;
  if (!search.contentDirectory.empty()) folders.emplace_back(search.contentDirectory);
  const fs::path naming = search.namingFolder.empty() ? fs::path(".") : fs::path(search.namingFolder);
  std::error_code error;
  const fs::path absolute = fs::absolute(naming, error).lexically_normal();
  const std::size_t depth = error ? 0 : static_cast<std::size_t>(std::distance(absolute.begin(), absolute.end()));
  fs::path folder = naming;
  for (std::size_t up = 0; up < depth; ++up) {
    folders.push_back(folder.lexically_normal());
    folder /= "..";
  }
  if (depth == 0) folders.push_back(naming);
  return folders;
}

}  // namespace

std::vector<std::string> FileCandidates(const std::string& stored, const FileSearch& search) {
  std::vector<std::string> candidates;
  std::string forward = stored;
  std::replace(forward.begin(), forward.end(), '\\', '/');
  if (!forward.empty() && forward.front() == '/') AddOnce(candidates, forward);

  const std::vector<std::string> parts = TrailingParts(WithoutVolume(stored));
  const std::vector<fs::path> folders = SearchFolders(search);
  for (const std::string& part : parts) {
    for (const fs::path& folder : folders) AddOnce(candidates, folder / part);
  }
  if (!search.contentDirectory.empty() && !search.kindFolder.empty()) {
    const fs::path kindFolder = fs::path(search.contentDirectory) / search.kindFolder;
    for (const std::string& part : parts) AddOnce(candidates, kindFolder / part);
  }
  return candidates;
}

std::optional<std::string> FindFile(const std::string& stored, const FileSearch& search,
                                    std::vector<std::string>& tried) {
  tried.clear();
  for (std::string& candidate : FileCandidates(stored, search)) {
    std::error_code error;
    if (fs::is_regular_file(candidate, error)) return candidate;
    tried.push_back(std::move(candidate));
  }
  return std::nullopt;
}

}  // namespace host
