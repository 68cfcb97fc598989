// The names of a 2d effect light's flags, flare types and corona show
// modes, and of the effect types, for listings.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace dffinfo {

// "at night", "fog type 1", ... for each set bit of flags1 and flags2 (the
// two fog bits as one value); unnamed bits as "flags2 bit 0x40".
std::vector<std::string> LightFlagNames(std::uint8_t flags1, std::uint8_t flags2);
// "none", "yellow", "white", or the number.
std::string FlareName(std::uint8_t flareType);
// "default", "traffic light", ..., or the number.
std::string ShowModeName(std::uint8_t showMode);
// "light", "particle", "ped attractor", ... or "type N".
std::string EffectTypeName(std::uint32_t type);

}  // namespace dffinfo
