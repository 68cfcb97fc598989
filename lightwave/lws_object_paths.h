// Where the host looks for an object file that a scene names.
#pragma once

#include <string>
#include <vector>

namespace host {

// The paths to try, in order, for an object path as a scene writes it.
// Scenes name objects relative to Layout's content directory (usually the
// parent of the scene's folder), or absolutely, often on another machine
// ("C:\\models\\car.lwo", or LightWave's own "Q:models/car.lwo").  Tried in
// turn: an absolute POSIX path as it is; then the path without its volume,
// relative to the content directory (when given), the scene's folder and
// the two folders above it; last, the bare file name in the scene's folder.
std::vector<std::string> ObjectPathCandidates(const std::string& written, const std::string& sceneDirectory,
                                              const std::string& contentDirectory);

}  // namespace host
