// Turns a scene file as read into the host's scene: loads the object files
// it names, names the items as Layout does, links the parents and computes
// every item's motion at time 0.
#pragma once

#include <string>

#include "host/lightwave_files.h"
#include "host/scene_model.h"
#include "lightwave/lws_document.h"

namespace host {

// `scenePath` is the scene file's path; object paths are resolved against
// its folder and the options' content directory.  Throws LoadError.
Scene SceneFromLws(const LwsDocument& document, const std::string& scenePath, const LoadOptions& options);

}  // namespace host
