// The LightWave files of Debian's assimp-testmodels, made by other people,
// that several suites run against.  The files stay where the package puts
// them; none is copied into the repository.
#pragma once

#include <algorithm>
#include <filesystem>
#include <initializer_list>
#include <string>
#include <vector>

namespace testsupport {

inline const std::filesystem::path kAssimpModels = "/usr/share/assimp/models";

// The objects (.lwo, and the extensionless "formatDetection" sample) and
// scenes (.lws) below the given folders of the package, as paths relative
// to kAssimpModels, sorted.  When the package is absent the list holds one
// empty name, so that a parameterised suite shows one case that can say so.
inline std::vector<std::string> AssimpLightWaveFiles(std::initializer_list<const char*> folders) {
  namespace fs = std::filesystem;
  std::vector<std::string> files;
  for (const char* folder : folders) {
    std::error_code error;
    for (fs::recursive_directory_iterator it(kAssimpModels / folder, error), end;
         !error && it != end; it.increment(error)) {
      const fs::path& path = it->path();
      const std::string extension = path.extension().string();
      if (it->is_regular_file() && (extension == ".lwo" || extension == ".lws" ||
                                    path.filename() == "formatDetection")) {
        files.push_back(fs::relative(path, kAssimpModels).generic_string());
      }
    }
  }
  std::sort(files.begin(), files.end());
  if (files.empty()) files.push_back("");
  return files;
}

}  // namespace testsupport
