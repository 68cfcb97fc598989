#include "scene/frame_name.h"

#include <string_view>

#include "platform/path_rules.h"

namespace scene {

std::string MakeFrameName(const char* objectFileName, const char* itemName) {
  const std::string baseName = platform::RemoveExtension(
      platform::StripPath(objectFileName != nullptr ? objectFileName : ""));
  const std::string_view item = itemName != nullptr ? itemName : "";
  if (item.size() < baseName.size()) return std::string(item);
  if (item.size() == baseName.size()) return std::string();
  return std::string(item.substr(baseName.size() + 1));
}

}  // namespace scene
