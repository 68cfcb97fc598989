// lwhost --txd: the texture dictionary of an exported scene, built from the
// image files its surfaces name.
#pragma once

#include <string>

#include "host/scene_model.h"
#include "txd_build/image_search.h"

namespace host::lwhost {

// Where the scene's images are looked for: the paths its surfaces store,
// by the texture name the exporter derives from each image (the file name
// without folder and extension, compared without case), resolved as the
// scene's objects are; then the --images folders, the folders of the
// scene's objects and of `inputPath`, and the usual image folders around
// them up to the content directory.
txdbuild::ImageSearchPlaces SceneImagePlaces(const Scene& scene, const std::string& inputPath,
                                             const std::string& contentDirectory,
                                             const std::vector<std::string>& imageFolders);

// Reads the exported DFF at `dffPath`, builds its dictionary with maketxd's
// defaults from the images `search` finds and writes it to `txdPath`.
// Prints what went wrong and returns false when the dictionary was not
// written; nothing is then left under that name.
bool BuildSceneTxd(const txdbuild::ImageSearch& search, bool verbose, const std::string& dffPath,
                   const std::string& txdPath);

}  // namespace host::lwhost
