#include "tools/dffinfo/txd_json_printer.h"

namespace dffinfo {
namespace {

using nlohmann::json;

json NativeJson(const NativeTextureRecord& t) {
  return {{"origin", {{"path", t.origin.path}, {"offset", t.origin.offset}}},
          {"platform", t.platform},
          {"filter", t.filter},
          {"uAddressing", t.uAddressing},
          {"vAddressing", t.vAddressing},
          {"name", t.name},
          {"mask", t.mask},
          {"rasterFormat", t.rasterFormat},
          {"d3dFormat", t.d3dFormat},
          {"format", t.formatName()},
          {"width", t.width},
          {"height", t.height},
          {"depth", t.depth},
          {"mipmapCount", t.levelCount},
          {"rasterType", t.rasterType},
          {"flags", t.flags},
          {"alpha", t.alpha()},
          {"compressed", t.compressed()},
          {"levelSizes", t.levelSizes}};
}

}  // namespace

json DictionaryJson(const TextureDictionaryRecord& d) {
  json textures = json::array();
  for (const NativeTextureRecord& t : d.textures) textures.push_back(NativeJson(t));
  return {{"origin", {{"path", d.origin.path}, {"offset", d.origin.offset}}},
          {"textureCount", d.textureCount},
          {"deviceId", d.deviceId},
          {"textures", std::move(textures)}};
}

}  // namespace dffinfo
