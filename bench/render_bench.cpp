// Times dffinfo --render's work after reading the files: a DFF's bytes
// inspected, its clump laid out, drawn from the three-quarter view and
// encoded as PNG.  Two models: a bumpy surface of 991,232 lit triangles in
// 16 atomics at 1024 x 1024 (the goal: under a second on one core), and a
// car-sized model of 12,288 textured triangles in 6 atomics at 512 x 512.
#include <benchmark/benchmark.h>

#include <cmath>
#include <string>

#include "dff_inspect/inspect.h"
#include "render/model_renderer.h"
#include "render/png_file.h"
#include "tests/dff_inspect/dff_builder.h"

namespace {

using dffinfo::testing::SampleClump;
using dffinfo::testing::SampleGeometry;

// A side x side grid of quads over one metre, its height a gentle wave.
SampleGeometry Grid(std::uint16_t side, bool textured) {
  SampleGeometry g;
  g.format = textured ? 0x00010076 : 0x00000072;  // one UV set, or none
  const std::uint16_t points = static_cast<std::uint16_t>(side + 1);
  for (std::uint16_t y = 0; y < points; ++y) {
    for (std::uint16_t x = 0; x < points; ++x) {
      const float u = static_cast<float>(x) / side;
      const float v = static_cast<float>(y) / side;
      g.positions.push_back({u, v, 0.05f * std::sin(u * 20.0f) * std::cos(v * 17.0f)});
      g.normals.push_back({0, 0, 1});
      if (textured) {
        if (g.uvSets.empty()) g.uvSets.emplace_back();
        g.uvSets[0].push_back({u, v});
      }
    }
  }
  for (std::uint16_t y = 0; y < side; ++y) {
    for (std::uint16_t x = 0; x < side; ++x) {
      const auto at = [&](int dx, int dy) { return static_cast<std::uint16_t>((y + dy) * points + x + dx); };
      g.triangles.push_back({at(0, 0), at(1, 0), at(0, 1), 0});
      g.triangles.push_back({at(1, 0), at(1, 1), at(0, 1), 0});
    }
  }
  g.sphere = {0.5f, 0.5f, 0, 0.8f};
  g.slots = {-1};
  dffinfo::testing::SampleMaterial m;
  m.rgba = {200, 180, 160, 255};
  if (textured) {
    m.textured = 1;
    m.texture = dffinfo::testing::SampleTexture{"paint", "", 0x00011106};
  }
  g.materials = {m};
  return g;
}

// `parts` atomics of one grid each, their frames side by side and tilted.
std::vector<std::uint8_t> Model(int parts, std::uint16_t side, bool textured) {
  SampleClump clump;
  for (int i = 0; i < parts; ++i) {
    dffinfo::testing::SampleFrame frame;
    frame.rotation = {1, 0, 0, 0, 0.8f, 0.6f, 0, -0.6f, 0.8f};
    frame.position = {static_cast<float>(i % 4) * 1.1f, static_cast<float>(i / 4) * 1.1f, 0};
    frame.name = "part" + std::to_string(i);
    clump.frames.push_back(frame);
    clump.geometries.push_back(Grid(side, textured));
    clump.atomics.push_back({static_cast<std::uint32_t>(i), static_cast<std::uint32_t>(i)});
  }
  clump.atomicCount = clump.geometryCount = static_cast<std::uint32_t>(parts);
  return dffinfo::testing::Serialise({dffinfo::testing::BuildClump(clump)}).bytes;
}

// A 256 x 256 texture of texels that vary, as the car's paint.
render::DecodedTextures Paint() {
  pixels::RgbaImage image(256, 256);
  for (std::size_t i = 0; i < image.rgba.size(); ++i) image.rgba[i] = static_cast<std::uint8_t>(i * 7 % 251);
  render::DecodedTextures textures;
  render::Texture& paint = textures.byName["paint"];
  paint.image = image;
  return textures;
}

void Draw(benchmark::State& state, int parts, std::uint16_t side, bool textured, std::uint32_t size) {
  const std::vector<std::uint8_t> file = Model(parts, side, textured);
  const render::DecodedTextures textures = Paint();
  std::size_t triangles = 0;
  for (auto _ : state) {
    const dffinfo::Inspection inspection = dffinfo::Inspect(file);
    const render::ModelScene scene = render::LayOutClump(inspection.clumps.at(0), textures);
    triangles = scene.triangles.size();
    const pixels::RgbaImage image =
        render::RenderModel(scene, render::View::kThreeQuarter, render::TimeOfDay::kDay, size);
    benchmark::DoNotOptimize(render::EncodePng(image));
  }
  state.counters["triangles"] = static_cast<double>(triangles);
}

void BM_MillionTriangles1024(benchmark::State& state) { Draw(state, 16, 176, false, 1024); }
void BM_Car512(benchmark::State& state) { Draw(state, 6, 32, true, 512); }

BENCHMARK(BM_MillionTriangles1024)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Car512)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
