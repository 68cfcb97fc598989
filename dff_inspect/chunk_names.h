// Names of chunk types and readings of library version stamps, for listings
// and chunk paths.
#pragma once

#include <cstdint>
#include <string>

namespace dffinfo {

// The name of a chunk type: the system's own table first, then the other
// RenderWare and game types that turn up in DFF files; nullptr when unknown.
const char* TypeName(std::uint32_t type);

// The name used in chunk paths: the type name, or the number in hex.
std::string PathName(std::uint32_t type);

// A version stamp unpacked the way RenderWare does: 0x1803FFFF is library
// 0x36003 (3.6.0.3), build 0xFFFF.  Old stamps without a build (0x310) are
// the version shifted by 8 bits.
struct LibraryVersion {
  std::uint32_t version = 0;
  std::uint32_t build = 0;
};
LibraryVersion UnpackVersion(std::uint32_t stamp);

// "3.6.0.3 build 0xFFFF", or "3.1.0.0" for a stamp without a build.
std::string DescribeVersion(std::uint32_t stamp);

}  // namespace dffinfo
