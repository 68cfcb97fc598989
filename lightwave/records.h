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

// One UV map of a mesh: per-point values, and per-(point, polygon) values
// that override them (LWO2 VMAD).
struct UvMap {
  std::string name;
  int dimension = 2;
  VertexValues<int> pointValues;
  VertexValues<std::pair<int, int>> polygonValues;
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
};

}  // namespace host
