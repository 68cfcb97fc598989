// File names made from names the game's files carry, which may hold
// anything: characters a file system refuses or reads as folders, and names
// that differ only in case.
#pragma once

#include <set>
#include <string>

namespace import_scene {

// The name in lower case, for comparing names as the game and Windows'
// file system do: without regard to case.
std::string Lower(std::string text);

// The name with every character that is not safe in a file name on
// Windows and elsewhere replaced by '_'; "_" for an empty name or dots; a
// device name of Windows (CON, NUL, COM1 ...) with one '_' more in front,
// by the rule of platform/device_names.h, which the export undoes.  The
// caller appends an extension, so a name never ends in a dot or space.
std::string SafeFileName(const std::string& name);

// Hands out file names unique without regard to case.
class FileNames {
 public:
  // `stem` + `extension` when safe and free, else the first free
  // `stem_2` + `extension`, `stem_3` ...
  std::string Claim(const std::string& stem, const std::string& extension);

 private:
  std::set<std::string> taken_;  // lower case
};

}  // namespace import_scene
