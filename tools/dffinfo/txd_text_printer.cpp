#include "tools/dffinfo/txd_text_printer.h"

#include <cstdio>

namespace dffinfo {
namespace {

std::string Hex(std::uint32_t value) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%X", value);
  return text;
}

}  // namespace

void PrintDictionary(std::ostream& out, std::size_t index, const TextureDictionaryRecord& d) {
  out << "texture dictionary " << index << "  at " << d.origin.path << "  " << d.textureCount
      << " textures  device " << d.deviceId << (d.deviceId == 2 ? " (Direct3D 9)" : "") << "\n";
  for (std::size_t i = 0; i < d.textures.size(); ++i) {
    const NativeTextureRecord& t = d.textures[i];
    out << "  texture " << i << " \"" << t.name << "\"  mask \"" << t.mask << "\"";
    if (t.platform != 9) {
      out << "  platform " << t.platform << " (not decoded)\n";
      continue;
    }
    out << "  " << t.formatName() << "  " << t.width << " x " << t.height << "  " << int{t.levelCount}
        << (t.levelCount == 1 ? " level" : " levels") << "  alpha " << (t.alpha() ? "yes" : "no")
        << "\n    raster format " << Hex(t.rasterFormat) << "  depth " << int{t.depth} << "  type "
        << int{t.rasterType} << "  flags " << Hex(t.flags) << "  filter " << int{t.filter}
        << "  addressing U " << int{t.uAddressing} << " V " << int{t.vAddressing} << "\n";
  }
}

}  // namespace dffinfo
