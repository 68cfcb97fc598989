// Writes the LWO2 object of the end-to-end benchmark: 1,003,500 triangles
// with a seamed UV map, two surfaces and one texture, in nine layers so
// that every layer's geometry stays within what one DFF geometry can
// address.
//
// Usage: make_grid_object OUTPUT.lwo
#include <cstdio>
#include <exception>

#include "bench/grid_scene.h"
#include "lightwave/lwo2_writer.h"

namespace {

constexpr int kLayers = 9;
constexpr bench::GridSize kLayerGrid{250, 223};  // 111,500 triangles a layer

host::Lwo2Object GridObject() {
  const host::Scene grid = bench::GridScene(kLayerGrid);
  host::Lwo2Object object;
  for (int number = 0; number < kLayers; ++number) {
    host::Lwo2Layer layer;
    layer.number = number;
    layer.name = "part" + std::to_string(number + 1);
    layer.mesh = grid.meshes[0];
    // Side by side, so the layers do not overlap.
    for (auto& point : layer.mesh.points) point[0] += static_cast<float>(number * 260);
    object.layers.push_back(std::move(layer));
  }
  for (const host::Surface& surface : grid.objectFiles[0].surfaces) {
    host::Lwo2Surface lwo2;
    lwo2.name = surface.name;
    lwo2.transparency = surface.transparency;
    if (surface.colorTexture >= 0) {
      lwo2.colorLayers = {{host::TextureLayerType::kImage, "\x80", 1u}};
    }
    object.surfaces.push_back(lwo2);
  }
  object.clips = {{1u, "images/" + grid.images[0].name}};
  return object;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_grid_object OUTPUT.lwo\n");
    return 2;
  }
  try {
    host::WriteLwo2File(GridObject(), argv[1]);
  } catch (const std::exception& error) {
    std::fprintf(stderr, "make_grid_object: %s\n", error.what());
    return 1;
  }
  return 0;
}
