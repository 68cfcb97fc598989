#include "import_scene/image_names.h"

#include "import_scene/lightwave_files.h"
#include "platform/device_names.h"

namespace import_scene {

ImageNames::ImageNames(const std::vector<import::Texture>& textures) {
  byLowerName_.reserve(textures.size());
  for (const import::Texture& texture : textures) byLowerName_.emplace(Lower(texture.name), &texture);
}

const import::Texture* ImageNames::Find(const std::string& name) const {
  const auto found = byLowerName_.find(Lower(name));
  return found == byLowerName_.end() ? nullptr : found->second;
}

std::string ImageNames::PathOf(const std::string& texture, std::vector<std::string>& warnings) {
  auto known = named_.find(texture);
  if (known == named_.end()) {
    const std::string fileName = fileNames_.Claim(texture, ".png");
    if (platform::TextureNameOfImage(fileName) != texture) {
      warnings.push_back("texture \"" + texture + "\" is written as " + fileName +
                         ": its name cannot be a file name as it stands, and the export will name the texture "
                         "after the file");
    }
    known = named_.emplace(texture, std::make_pair(fileName, Find(texture))).first;
  }
  return std::string(kImageFolder) + "/" + known->second.first;
}

}  // namespace import_scene
