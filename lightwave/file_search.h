// Where the host looks for the files a scene or an object names: object
// files of a scene, image files of an object's surfaces.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace host {

struct FileSearch {
  // Layout's content directory; empty when not known.
  std::string contentDirectory;
  // The folder of the file that names the path (the scene, or the object
  // for its images); the folders above it are searched too.
  std::string namingFolder;
  // The folder of Layout's content directory that holds this kind of file:
  // "Objects" or "Images".
  std::string kindFolder;
};

// At most this many trailing parts of a stored path are tried: a path from
// another machine has its useful part at the end, and every further part
// multiplies the places looked at.
constexpr std::size_t kMostTrailingParts = 12;

// The paths to try, in order, for a path as a scene or an object stores it.
// Stored paths are relative to Layout's content directory ("Objects/car.lwo")
// or absolute, often on another machine ("C:\\models\\car.lwo", LightWave's
// own "Q:models/car.lwo", "C:msys/1.0/home/me/Data/lwo/car.lwo").  Tried in
// turn: an absolute POSIX path as it is; then each trailing part of the path
// without its volume, longest first ("Data/lwo/car.lwo", "lwo/car.lwo",
// "car.lwo"), each under the content directory, the naming folder and each
// folder above it up to the root; last, each trailing part under the content
// directory's kind folder.  No place is listed twice.
std::vector<std::string> FileCandidates(const std::string& stored, const FileSearch& search);

// The first candidate that is a regular file.  When there is none, every
// place looked at is in `tried`.
std::optional<std::string> FindFile(const std::string& stored, const FileSearch& search,
                                    std::vector<std::string>& tried);

}  // namespace host
