// Times the whole map command as a user runs it: the real velmora_map
// module, through the stand-in host, on a grid of 1,000,000 triangles with
// day and night colour maps (with seams) and eight surfaces, each textured
// with its own 1024 x 1024 PNG; the DFF and the TXD beside it written to a
// temporary folder (the COL is left out: the grid is too large for one).
// Once without lights, once with 1,000 point lights and 1,000 particle
// nulls hung on the grid: the difference is the cost of the effects step.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "bench/grid_scene.h"
#include "host/module_loader.h"
#include "host/standin_host.h"
#include "tests/support/files_and_programs.h"
#include "tests/support/test_images.h"

namespace {
namespace fs = std::filesystem;

constexpr int kTextures = 8;
constexpr std::uint32_t kSide = 1024;

// The coloured grid, its polygons spread over eight textured surfaces in
// runs, with their images written to `folder`.
host::Scene TexturedMapScene(const fs::path& folder) {
  host::Scene scene = bench::GridScene({1000, 500});
  host::Mesh& mesh = scene.meshes.front();
  bench::AddDayAndNightMaps(mesh);
  // Cells of a quarter metre keep the grid within the 256 m a COL vertex
  // holds, as a real map object is: the command then tries its collision
  // too, and leaves it out with a warning, the visible model being over an
  // entry's face limit.
  for (auto& point : mesh.points) {
    for (float& coordinate : point) coordinate *= 0.25f;
  }
  scene.images.clear();
  scene.textures.clear();
  scene.objectFiles.front().surfaces.clear();
  for (int i = 0; i < kTextures; ++i) {
    const std::string name = "wall" + std::to_string(i);
    pixels::RgbaImage image = testsupport::TestPattern(kSide, kSide);
    image.rgba[0] = static_cast<std::uint8_t>(i);  // every image its own
    testsupport::WriteFileBytes(folder / (name + ".png"), testsupport::EncodeImageFile(image, "png"));
    scene.images.push_back({name + ".png", (folder / (name + ".png")).string()});
    scene.textures.push_back(host::Texture{{{host::TextureLayerType::kImage, i}}});
    host::Surface surface;
    surface.name = name;
    surface.colorTexture = i;
    scene.objectFiles.front().surfaces.push_back(surface);
  }
  const std::size_t run = mesh.polygons.size() / kTextures + 1;
  for (std::size_t k = 0; k < mesh.polygons.size(); ++k) mesh.polygons[k].surface = "wall" + std::to_string(k / run);
  return scene;
}

void WholeMapExport(benchmark::State& state, int lamps) {
  const fs::path folder = fs::temp_directory_path() / ("velmora-map-bench-" + std::to_string(::getpid()));
  fs::create_directories(folder);
  host::Scene scene = TexturedMapScene(folder);
  if (lamps > 0) bench::AddLamps(scene, lamps);
  const host::PluginModule module(VELMORA_MAP_MODULE_PATH);
  std::string summary;
  for (auto _ : state) {
    state.PauseTiming();
    host::StandInHost host(scene);
    host.SetFileResponder([&folder](const host::FileRequest&) { return (folder / "grid.dff").string(); });
    state.ResumeTiming();
    module.RunGeneric("Export map object to DFF", host.global());
    state.PauseTiming();
    summary = host.messages().empty() ? "" : host.messages().back().line1;
    state.ResumeTiming();
  }
  if (summary.rfind("Wrote grid.dff", 0) != 0) state.SkipWithError(("the export failed: " + summary).c_str());
  state.counters["dff_bytes"] = static_cast<double>(fs::file_size(folder / "grid.dff"));
  state.counters["txd_bytes"] = static_cast<double>(fs::file_size(folder / "grid.txd"));
  fs::remove_all(folder);
}
BENCHMARK_CAPTURE(WholeMapExport, no_lights, 0)->Unit(benchmark::kSecond)->Iterations(2)->UseRealTime();
BENCHMARK_CAPTURE(WholeMapExport, lamps_1000, 1000)->Unit(benchmark::kSecond)->Iterations(2)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
