// Writes the object of the end-to-end benchmarks: layers of square
// grids of quads with a seamed UV map, two surfaces and one texture, shaped
// like a game model whose every layer stays within what one DFF geometry
// can address.  The quads are spread evenly over the layers, so the object
// has the requested triangle count rounded down to whole grids.  The
// object is written as LWO2, or with --lwo3 as LWO3 with Standard
// materials, so that both readers can be timed on the same model.
//
// Usage: make_grid_object [--lwo3] OUTPUT.lwo [TRIANGLES [LAYERS]]
//        (defaults: 1000000 triangles in 20 layers, which gives 20 grids of
//        158 x 158 quads, 998,560 triangles)
#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <string>

#include "bench/grid_scene.h"
#include "lightwave/lwo2_writer.h"
#include "lightwave/lwo3_writer.h"

namespace {

constexpr long kDefaultTriangles = 1000000;
constexpr long kDefaultLayers = 20;
// A gap of empty columns between neighbouring layers, so they do not touch.
constexpr int kLayerGap = 10;

// The square grid nearest to `quads` cells that does not exceed it.
bench::GridSize LayerGrid(long quads) {
  const int columns = std::max(1, static_cast<int>(std::lround(std::sqrt(static_cast<double>(quads)))));
  const int rows = std::max(1, static_cast<int>(quads / columns));
  return {columns, rows, bench::Cells::kQuads};
}

host::Lwo2Object GridObject(long triangles, long layers) {
  const bench::GridSize grid = LayerGrid(triangles / (2 * layers));
  const host::Scene scene = bench::GridScene(grid);
  host::Lwo2Object object;
  for (long number = 0; number < layers; ++number) {
    host::Lwo2Layer layer;
    layer.number = static_cast<int>(number);
    layer.name = "part" + std::to_string(number + 1);
    layer.mesh = scene.meshes[0];
    const auto offset = static_cast<float>(number * (grid.columns + kLayerGap));
    for (auto& point : layer.mesh.points) point[0] += offset;
    object.layers.push_back(std::move(layer));
  }
  for (const host::Surface& surface : scene.objectFiles[0].surfaces) {
    host::Lwo2Surface lwo2;
    lwo2.name = surface.name;
    lwo2.transparency = surface.transparency;
    if (surface.colorTexture >= 0) {
      lwo2.colorLayers = {{host::TextureLayerType::kImage, "\x80", 1u}};
    }
    object.surfaces.push_back(lwo2);
  }
  object.clips = {{1u, "images/" + scene.images[0].name}};
  return object;
}

// A whole positive number, or 0 for anything else.
long PositiveNumber(const char* text) {
  errno = 0;
  char* end = nullptr;
  const long value = std::strtol(text, &end, 10);
  if (errno != 0 || end == text || *end != '\0' || value <= 0) return 0;
  return value;
}

constexpr const char* kUsage =
    "usage: make_grid_object [--lwo3] OUTPUT.lwo [TRIANGLES [LAYERS]]  (default 1000000 20)\n";

int Usage(const char* problem) {
  std::fprintf(stderr, "make_grid_object: %s\n%s", problem, kUsage);
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  const bool lwo3 = argc > 1 && std::string(argv[1]) == "--lwo3";
  if (lwo3) {
    --argc;
    ++argv;
  }
  if (argc < 2 || argc > 4) return Usage("expected an output file and up to two counts");
  // An option is never taken for the name of the file to write.
  const std::string first = argv[1];
  if (first == "--help" || first == "-h") {
    std::fputs(kUsage, stdout);
    return 0;
  }
  if (first.rfind('-', 0) == 0) return Usage(("unknown option " + first).c_str());
  const long triangles = argc > 2 ? PositiveNumber(argv[2]) : kDefaultTriangles;
  const long layers = argc > 3 ? PositiveNumber(argv[3]) : kDefaultLayers;
  if (triangles == 0 || layers == 0) return Usage("the counts must be whole numbers above 0");
  if (triangles < 2 * layers) return Usage("each layer needs at least two triangles (one quad)");
  try {
    if (lwo3) {
      host::WriteLwo3File(GridObject(triangles, layers), argv[1]);
    } else {
      host::WriteLwo2File(GridObject(triangles, layers), argv[1]);
    }
  } catch (const std::exception& error) {
    std::fprintf(stderr, "make_grid_object: %s\n", error.what());
    return 1;
  }
  return 0;
}
