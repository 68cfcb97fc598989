// Finds the image file of a texture in a list of folders: the texture's
// name with one of the extensions png, tga, jpg, jpeg, bmp, in any case.
#pragma once

#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace txdbuild {

// The extensions tried, in order of preference when one folder holds the
// same name in several kinds.
extern const char* const kImageExtensions[5];

class ImageFolders {
 public:
  // Lists each folder once; folders named twice are searched once, in the
  // order of their first mention.  A folder that cannot be listed finds
  // nothing.
  explicit ImageFolders(const std::vector<std::filesystem::path>& folders);

  // The first folder's file for `name`, or nothing.
  std::optional<std::filesystem::path> Find(const std::string& name) const;

  // The folders searched, for messages.
  const std::vector<std::filesystem::path>& folders() const { return folders_; }

 private:
  std::vector<std::filesystem::path> folders_;
  // Per folder: lower-case file name -> the file.
  std::vector<std::map<std::string, std::filesystem::path>> files_;
};

}  // namespace txdbuild
