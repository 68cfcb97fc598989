#include "dff_inspect/chunk_names.h"

#include <cstdio>

#include "dff/chunk_type.h"

namespace dffinfo {
namespace {

struct ExtraName {
  std::uint32_t type;
  const char* name;
};

// Types the exporter never writes but other tools and the game's own files
// carry; knowing their names makes a listing of a foreign file readable.
constexpr ExtraName kExtraNames[] = {
    {0x00000005, "Camera"},
    {0x0000000B, "World"},
    {0x00000012, "Light"},
    {0x0000001B, "Animation"},
    {0x0000002B, "UVAnimDictionary"},
    {0x00000105, "Morph"},
    {0x00000116, "Skin"},
    {0x0000011E, "HAnim"},
    {0x0000011F, "UserData"},
    {0x00000135, "UVAnim"},
    {0x00000510, "NativeData"},
    {0x0253F2F3, "PipelineSet"},
    {0x0253F2F8, "Effect2d"},
};

}  // namespace

const char* TypeName(std::uint32_t type) {
  if (const char* name = dff::ChunkTypeName(type)) return name;
  for (const ExtraName& extra : kExtraNames) {
    if (extra.type == type) return extra.name;
  }
  return nullptr;
}

std::string PathName(std::uint32_t type) {
  if (const char* name = TypeName(type)) return name;
  char text[16];
  std::snprintf(text, sizeof text, "0x%08X", type);
  return text;
}

LibraryVersion UnpackVersion(std::uint32_t stamp) {
  LibraryVersion result;
  if ((stamp & 0xFFFF0000u) == 0) {
    result.version = stamp << 8;
    return result;
  }
  // Bits 30-31 hold the major version less 3, bits 26-29 the minor, bits
  // 22-25 the revision, bits 16-21 the release, the low 16 bits the build.
  result.version = (((stamp >> 14) & 0x3FF00u) + 0x30000u) | ((stamp >> 16) & 0x3Fu);
  result.build = stamp & 0xFFFFu;
  return result;
}

std::string DescribeVersion(std::uint32_t stamp) {
  const LibraryVersion unpacked = UnpackVersion(stamp);
  const std::uint32_t v = unpacked.version;
  char text[48];
  if ((stamp & 0xFFFF0000u) == 0) {
    std::snprintf(text, sizeof text, "%u.%u.%u.%u", v >> 16, (v >> 12) & 0xFu, (v >> 8) & 0xFu,
                  v & 0xFFu);
  } else {
    std::snprintf(text, sizeof text, "%u.%u.%u.%u build 0x%04X", v >> 16, (v >> 12) & 0xFu,
                  (v >> 8) & 0xFu, v & 0xFFu, unpacked.build);
  }
  return text;
}

}  // namespace dffinfo
