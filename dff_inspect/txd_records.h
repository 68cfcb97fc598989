// The records of a texture dictionary as readers see them, decoded from
// its chunk tree.  Values are kept as stored.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "dff_inspect/records.h"

namespace dffinfo {

struct NativeTextureRecord {
  Origin origin;               // the TextureNative chunk
  Origin structOrigin;
  std::uint32_t platform = 0;  // 9 for Direct3D 9; other platforms are not decoded further
  std::uint8_t filter = 0;
  std::uint8_t uAddressing = 0;
  std::uint8_t vAddressing = 0;
  std::string name;            // up to the first zero byte of its 32-byte field
  std::string mask;
  std::uint32_t rasterFormat = 0;
  std::uint32_t d3dFormat = 0;
  std::uint16_t width = 0;
  std::uint16_t height = 0;
  std::uint8_t depth = 0;
  std::uint8_t levelCount = 0;
  std::uint8_t rasterType = 0;
  std::uint8_t flags = 0;
  std::vector<std::uint32_t> levelSizes;  // the byte count stored before each level
  // Where in the file each level's bytes start, for the levels whose bytes
  // are all there.
  std::vector<std::size_t> levelOffsets;

  bool alpha() const { return (flags & 0x01) != 0; }
  bool compressed() const { return (flags & 0x08) != 0; }
  // "DXT1", "DXT3", "DXT5", "8888", "888", "565", ... from the Direct3D
  // format, or "D3DFMT n" for one this listing does not name.
  std::string formatName() const;
};

struct TextureDictionaryRecord {
  Origin origin;               // the TextureDictionary chunk
  Origin structOrigin;
  std::uint16_t textureCount = 0;
  std::uint16_t deviceId = 0;  // 2 for Direct3D 9
  std::vector<NativeTextureRecord> textures;
};

}  // namespace dffinfo
