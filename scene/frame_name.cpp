#include "scene/frame_name.h"

#include <string_view>

#include "platform/path_rules.h"

namespace scene {

std::string MakeFrameName(const char* objectFileName, const char* itemName) {
  const std::string baseName = platform::RemoveExtension(
      platform::StripPath(objectFileName != nullptr ? objectFileName : ""));
  const std::string_view item = itemName != nullptr ? itemName : "";
  const bool isLayerItem = item.size() > baseName.size() && item.compare(0, baseName.size(), baseName) == 0 &&
                           item[baseName.size()] == ':';
  return std::string(isLayerItem ? item.substr(baseName.size() + 1) : item);
}

}  // namespace scene

namespace scene {

std::string FitFrameName(const std::string& name, platform::TextEncoding encoding) {
  if (name.size() <= kMaxFrameNameBytes) return name;
  std::size_t cut = kMaxFrameNameBytes;
  if (encoding == platform::TextEncoding::kUtf8) {
    // A byte 10xxxxxx continues the character before it, and a character
    // spans at most four bytes: text that is not UTF-8 after all is cut at
    // no more than three bytes short of the limit.
    auto continues = [&](std::size_t at) {
      return (static_cast<unsigned char>(name[at]) & 0xC0u) == 0x80u;
    };
    while (cut > kMaxFrameNameBytes - 3 && continues(cut)) --cut;
  }
  return name.substr(0, cut);
}

}  // namespace scene
