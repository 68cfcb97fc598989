// Loading of LightWave files into the stand-in host's scene: a scene file
// (.lws) with the object files it loads, or a bare LWO2 object file, which
// becomes a scene holding the object's layers at rest, as Layout shows an
// object loaded into an empty scene.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "host/scene_model.h"
#include "lightwave/lwo2_object.h"
#include "lightwave/load_error.h"

namespace host {

struct LoadOptions {
  // Layout's content directory: relative object paths in a scene are looked
  // up here first.  Empty: only the scene's folder and its parents are used.
  std::string contentDirectory;
  // Reads an object file that is not LWO2 or LWO3 (a game model's DFF),
  // as Layout hands such a file to the object loaders of its modules, or
  // throws LoadError.  Empty: such a file is an error.
  std::function<Lwo2Object(const std::string& path)> foreignObjects;
};

// Loads a scene or object file; the kind is told by the file's first bytes,
// not by its extension.  Throws LoadError.
Scene LoadSceneFile(const std::string& path, const LoadOptions& options = {});

// An object file (bare, or named by a scene) read as LWO2 or LWO3 by its
// first bytes, else through `options.foreignObjects`.  Throws LoadError.
Lwo2Object ReadObjectFile(const std::string& path, const LoadOptions& options);

// The whole content of a regular file.  Throws LoadError when the path is
// missing, not a regular file or unreadable.
std::vector<std::uint8_t> ReadFileBytes(const std::string& path);

}  // namespace host
