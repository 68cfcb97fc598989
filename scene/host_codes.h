// The host's four-character codes the geometry build asks with, packed
// big-endian into 32 bits as the host packs them.
#pragma once

#include "plugin/lw_host.h"

namespace scene {

constexpr LWID FourCharCode(char a, char b, char c, char d) {
  return static_cast<LWID>(static_cast<unsigned char>(a)) << 24 |
         static_cast<LWID>(static_cast<unsigned char>(b)) << 16 |
         static_cast<LWID>(static_cast<unsigned char>(c)) << 8 | static_cast<LWID>(static_cast<unsigned char>(d));
}

constexpr LWID kUvMapType = FourCharCode('T', 'X', 'U', 'V');
constexpr LWID kSurfaceTag = FourCharCode('S', 'U', 'R', 'F');
constexpr LWID kFacePolygon = FourCharCode('F', 'A', 'C', 'E');
constexpr LWID kPatchPolygon = FourCharCode('P', 'T', 'C', 'H');
constexpr LWID kSubdivisionPolygon = FourCharCode('S', 'U', 'B', 'D');

}  // namespace scene
