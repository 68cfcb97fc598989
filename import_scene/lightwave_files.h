// A game model as LightWave files: the scene, one object per atomic, an
// object with the collision layers, and the images of its textures.  The
// inverse of the export commands' placement: a re-export of these files
// gives back the model's frames, geometry and materials.
//
//   import::Model model = ...;  // from import/game_files.h
//   import_scene::SceneFiles files = import_scene::ToLightWave(model, "buggy");
//   std::string error = import_scene::WriteSceneFiles(files, "out/buggy");
#pragma once

#include <string>
#include <vector>

#include "import/import_model.h"
#include "lightwave/lwo2_object.h"
#include "lightwave/lws_writer.h"

namespace import_scene {

// The folder of the scene's images, relative to the scene.
inline constexpr char kImageFolder[] = "images";

struct ObjectFile {
  std::string fileName;  // beside the scene
  host::Lwo2Object object;
};

struct ImageFile {
  std::string fileName;  // in kImageFolder
  const import::Texture* texture = nullptr;
};

struct SceneFiles {
  std::string sceneFileName;
  std::vector<host::LwsWriterItem> items;
  std::vector<ObjectFile> objects;
  std::vector<ImageFile> images;
  std::string colFileName;  // empty without collision
  const std::vector<std::uint8_t>* colBytes = nullptr;
  std::vector<std::string> warnings;
};

// `model` must outlive the result, which points at its textures and COL
// bytes.  `baseName` names the scene, the COL file and the collision
// object.
SceneFiles ToLightWave(const import::Model& model, const std::string& baseName);

// Writes every file into `folder` (made if missing); an empty string on
// success, else what could not be written.
std::string WriteSceneFiles(const SceneFiles& files, const std::string& folder);

}  // namespace import_scene
