// The plain records that LightWave's object files and the host's scene have
// in common: vectors in LightWave's axes, meshes with their polygons and UV
// maps, texture layer kinds, and what a surface is before it sets anything.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "lightwave/vertex_values.h"

namespace host {

using Vec3 = std::array<double, 3>;

enum class TextureLayerType { kImage = 0, kProcedural = 1, kGradient = 2 };

// LightWave's values for a surface that leaves a setting out.
inline constexpr Vec3 kDefaultSurfaceColor{0.78431, 0.78431, 0.78431};
inline constexpr double kDefaultSurfaceTransparency = 0.0;
inline constexpr double kDefaultSurfaceReflectivity = 0.0;
inline constexpr double kDefaultSurfaceGlossiness = 0.4;

// The vertex map types the host serves, as LightWave names them.
inline constexpr std::uint32_t kVertexMapUv = 0x54585556u;    // TXUV
inline constexpr std::uint32_t kVertexMapRgb = 0x52474220u;   // "RGB "
inline constexpr std::uint32_t kVertexMapRgba = 0x52474241u;  // RGBA

// One vertex map of a mesh (UV or colour): per-point values, and
// per-(point, polygon) values that override them (LWO2 VMAD).
struct UvMap {
  std::string name;
  int dimension = 2;
  VertexValues<int> pointValues;
  VertexValues<std::pair<int, int>> polygonValues;
  std::uint32_t type = kVertexMapUv;
};

struct Polygon {
  std::uint32_t type = 0x46414345u;  // FACE
  std::vector<int> points;           // indices into Mesh::points
  std::string surface;               // the SURF tag
};

struct Mesh {
  std::vector<std::array<float, 3>> points;
  std::vector<Polygon> polygons;
  std::vector<UvMap> uvMaps;
  std::vector<UvMap> colorMaps;  // RGB and RGBA maps
};

}  // namespace host
