#include "import_scene/image_names.h"

#include <algorithm>
#include <cctype>

#include "import_scene/lightwave_files.h"

namespace import_scene {

const import::Texture* ImageNames::Find(const std::string& name) const {
  // The game finds textures by name without regard to case.
  for (const import::Texture& texture : textures_) {
    const bool same = std::equal(texture.name.begin(), texture.name.end(), name.begin(), name.end(),
                                 [](unsigned char a, unsigned char b) { return std::tolower(a) == std::tolower(b); });
    if (same) return &texture;
  }
  return nullptr;
}

std::string ImageNames::PathOf(const std::string& texture, std::vector<std::string>& warnings) {
  auto known = named_.find(texture);
  if (known == named_.end()) {
    const std::string fileName = fileNames_.Claim(texture, ".png");
    if (fileName != texture + ".png") {
      warnings.push_back("texture \"" + texture + "\" is written as " + fileName +
                         ": its name cannot be a file name as it stands, and the export will name the texture "
                         "after the file");
    }
    known = named_.emplace(texture, std::make_pair(fileName, Find(texture))).first;
  }
  return std::string(kImageFolder) + "/" + known->second.first;
}

}  // namespace import_scene
