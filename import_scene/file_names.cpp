#include "import_scene/file_names.h"

#include <algorithm>
#include <cctype>
#include <cstring>

#include "platform/device_names.h"

namespace import_scene {

std::string Lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return text;
}

std::string SafeFileName(const std::string& name) {
  std::string safe = name;
  for (char& c : safe) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20 || byte == 0x7F || std::strchr("<>:\"/\\|?*", c) != nullptr) c = '_';
  }
  if (safe.find_first_not_of(". ") == std::string::npos) return "_";
  return platform::DeviceSafeStem(safe);
}

std::string FileNames::Claim(const std::string& stem, const std::string& extension) {
  const std::string safe = SafeFileName(stem);
  std::string name = safe + extension;
  for (int n = 2; !taken_.insert(Lower(name)).second; ++n) name = safe + "_" + std::to_string(n) + extension;
  return name;
}

}  // namespace import_scene
