#include "dff_inspect/effect_names.h"

#include <cstdio>

namespace dffinfo {
namespace {

std::string BitName(const char* field, unsigned bit) {
  char text[32];
  std::snprintf(text, sizeof text, "%s bit 0x%02X", field, bit);
  return text;
}

}  // namespace

std::vector<std::string> LightFlagNames(std::uint8_t flags1, std::uint8_t flags2) {
  static const char* const kFlags1[8] = {"checks obstacles", nullptr, nullptr, "without corona",
                                         "corona only far away", "at day", "at night", "blinking"};
  static const char* const kFlags2[8] = {"corona only from below", "fast blinking", "updates height above ground",
                                         "checks view direction", "blinking (flags2)", nullptr, nullptr, nullptr};
  std::vector<std::string> names;
  if (const unsigned fog = (flags1 >> 1) & 3u; fog != 0) names.push_back("fog type " + std::to_string(fog));
  for (unsigned bit = 0; bit < 8; ++bit) {
    if (bit == 1 || bit == 2 || (flags1 & (1u << bit)) == 0) continue;
    names.push_back(kFlags1[bit]);
  }
  for (unsigned bit = 0; bit < 8; ++bit) {
    if ((flags2 & (1u << bit)) == 0) continue;
    names.push_back(kFlags2[bit] != nullptr ? kFlags2[bit] : BitName("flags2", 1u << bit));
  }
  return names;
}

std::string FlareName(std::uint8_t flareType) {
  static const char* const kFlares[] = {"none", "yellow", "white"};
  return flareType < 3 ? kFlares[flareType] : std::to_string(flareType);
}

std::string ShowModeName(std::uint8_t showMode) {
  static const char* const kModes[] = {"default",        "random flashing",  "random flashing, on when wet",
                                       "animated 4x",    "animated 2x",      "animated 1x",
                                       "warning light",  "traffic light",    "train crossing",
                                       "disabled",       "rain only",        "5 s on, 5 s off",
                                       "6 s on, 4 s off", "6 s on, 4 s off"};
  return showMode < 14 ? kModes[showMode] : std::to_string(showMode);
}

std::string EffectTypeName(std::uint32_t type) {
  switch (type) {
    case 0: return "light";
    case 1: return "particle";
    case 3: return "ped attractor";
    case 4: return "sun glare";
    case 5: return "interior";
    case 6: return "enter/exit";
    case 7: return "road sign";
    case 8: return "trigger point";
    case 9: return "cover point";
    case 10: return "escalator";
    default: return "type " + std::to_string(type);
  }
}

}  // namespace dffinfo
