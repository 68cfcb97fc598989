// Objects and scenes the loader tests write for themselves, and a scratch
// folder to write them into.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "lightwave/lwo2_object.h"

namespace lwfiles_test {

// A folder of its own under the system's temporary folder, removed with
// everything in it when the test ends.
class ScratchFolder {
 public:
  ScratchFolder();
  ~ScratchFolder();
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  const std::filesystem::path& path() const { return path_; }
  // Writes the file (folders included) and returns its path.
  std::string Write(const std::string& relative, const std::vector<std::uint8_t>& bytes) const;
  std::string Write(const std::string& relative, const std::string& text) const;

 private:
  std::filesystem::path path_;
};

// One layer (number 0, unnamed, no pivot) holding a unit cube: 8 points,
// 6 quads on the surface "Box".
host::Lwo2Object CubeObject();

// Two named layers and an unnamed one with pivots and a layer parent;
// polygons of two types in interleaved runs; a UV map with a per-polygon
// seam; three surfaces, one textured (layers written out of ordinal
// order), one with a reflection image; two clips.
host::Lwo2Object LayeredObject();

}  // namespace lwfiles_test
