// The image file each texture name of the model gets: named after the
// texture so that the export, which names a texture after its image file,
// writes the same name back.
#pragma once

#include <map>
#include <string>
#include <unordered_map>
#include <vector>

#include "import/import_model.h"
#include "import_scene/file_names.h"

namespace import_scene {

class ImageNames {
 public:
  explicit ImageNames(const std::vector<import::Texture>& textures);

  // The image's path relative to the scene ("images/wheel.png").  A name
  // that cannot be a file name as it stands gets a changed one, with a
  // warning, since the export will then write the changed name.
  std::string PathOf(const std::string& texture, std::vector<std::string>& warnings);

  // Each texture named so far with its file name; textures the dictionary
  // lacks have a null pointer.
  const std::map<std::string, std::pair<std::string, const import::Texture*>>& named() const { return named_; }

 private:
  // The dictionary's texture of that name, compared without regard to
  // case as the game compares them; of several, the first.
  const import::Texture* Find(const std::string& name) const;

  std::unordered_map<std::string, const import::Texture*> byLowerName_;
  FileNames fileNames_;
  std::map<std::string, std::pair<std::string, const import::Texture*>> named_;
};

}  // namespace import_scene
