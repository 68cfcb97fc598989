// Turning the host's surfaces into material entries.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "lwsdk/images.h"
#include "lwsdk/surfaces.h"
#include "lwsdk/textures.h"
#include "scene/mesh_object.h"

namespace scene {

// A colour or opacity component scaled to 0..255: value x 255 truncated
// toward zero and clamped; NaN gives 0.
std::uint8_t ColorByte(double value);

// An image name without its file-name extension; directories stay.
std::string MakeTextureName(std::string_view imageName);

// The entry for one surface, from its channels, its "BaseColor" texture and
// its reflection image.  Absent channels and names read as zero and empty.
MaterialEntry MakeMaterialEntry(LWSurfaceID surface, const LWSurfaceFuncs& surfaceFuncs,
                                const LWTextureFuncs& textureFuncs, const LWImageList& imageList);

// What a polygon gets whose surface tag names no surface of its object:
// white, opaque, untextured, without reflection, named after the tag.
MaterialEntry MakeDefaultMaterial(std::string_view surfaceName);

}  // namespace scene
