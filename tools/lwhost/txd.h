// lwhost --txd: the texture dictionary of an exported scene, built from the
// image files its surfaces name.
#pragma once

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "host/scene_model.h"

namespace host::lwhost {

// The scene's images by the texture name the exporter derives from each
// (the file name without folder and extension, compared without case),
// each resolved on this machine the way the scene's objects are.
class SceneImages {
 public:
  SceneImages(const std::vector<Image>& images, const std::string& scenePath,
              const std::string& contentDirectory);

  // The image file for a texture name, or an empty path.
  std::filesystem::path Find(const std::string& textureName) const;
  // Where Find looked, for the message about a missing image.
  std::string DescribeSearch(const std::string& textureName) const;

 private:
  struct Entry {
    std::string written;                   // the file as the scene names it
    std::vector<std::string> candidates;   // the paths tried, in order
    std::filesystem::path found;
  };
  std::map<std::string, Entry> byName_;  // lower-case texture name -> the first image of that name
};

// Reads the exported DFF at `dffPath`, builds its dictionary from the
// scene's images with maketxd's defaults and writes it to `txdPath`.
// Prints what went wrong and returns false when the dictionary was not
// written; nothing is then left under that name.
bool BuildSceneTxd(const SceneImages& images, const std::string& dffPath, const std::string& txdPath);

}  // namespace host::lwhost
