// Writes the files of one section all or none: every file is written whole
// to a temporary file beside its target first, and only when all of them
// are written do they take their names.  Until then the files of an
// earlier export stay as they were.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace section {

class FileSet {
 public:
  void Add(std::filesystem::path target, std::vector<std::uint8_t> bytes);
  void Add(std::filesystem::path target, const std::string& text);

  // False with `error` saying which file failed and why.  A failure while
  // writing leaves every target as it was; a failure while renaming (a
  // full or vanished folder between two renames) names the files already
  // replaced.
  bool Commit(std::string& error);

 private:
  struct Pending {
    std::filesystem::path target;
    std::vector<std::uint8_t> bytes;
  };
  std::vector<Pending> files_;
};

}  // namespace section
