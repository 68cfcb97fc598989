// A LightWave object file (LWO2, or LWO3 read into the same record) as the
// host needs it: its layers with their geometry, its surfaces and its
// still-image clips.  The readers fill it from a file; the writers turn one
// back into a file.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "lightwave/records.h"

namespace host {

struct Lwo2Layer {
  int number = 0;  // LAYR number, 0-based (Modeler's layer 1 is 0)
  int flags = 0;   // bit 0: hidden
  Vec3 pivot{0.0, 0.0, 0.0};
  std::string name;
  int parent = -1;  // another layer's number, -1 for none
  // Points, polygons with their surface names, UV and colour maps.
  Mesh mesh;
};

struct Lwo2TextureLayer {
  TextureLayerType type = TextureLayerType::kImage;
  std::string ordinal;                // sort key of the layer within its channel
  std::optional<std::uint32_t> clip;  // image layers: the CLIP index of IMAG
};

struct Lwo2Surface {
  std::string name;
  std::string source;  // the surface this one was derived from, or empty
  Vec3 color = kDefaultSurfaceColor;
  double transparency = kDefaultSurfaceTransparency;
  double reflectivity = kDefaultSurfaceReflectivity;
  double glossiness = kDefaultSurfaceGlossiness;
  std::optional<std::uint32_t> reflectionClip;  // RIMG
  // The texture layers of the colour channel, in ordinal order.
  std::vector<Lwo2TextureLayer> colorLayers;
  // The name of the RGB or RGBA vertex map that colours the surface, or
  // empty.
  std::string vertexColorMap;
};

// A clip whose source is a still image; other clips carry no image name.
struct Lwo2Clip {
  std::uint32_t index = 0;
  std::string stillPath;
};

struct Lwo2Object {
  std::vector<Lwo2Layer> layers;  // in file order
  std::vector<Lwo2Surface> surfaces;
  std::vector<Lwo2Clip> clips;
  // What the reader could not use as stored, and what it did instead: one
  // line each, naming the file.
  std::vector<std::string> warnings;

  // The still image of the clip with this index, or null.
  const Lwo2Clip* FindClip(std::uint32_t index) const;
};

}  // namespace host
