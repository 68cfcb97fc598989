// Times "Export map section" as a user runs it: the real velmora_map
// module, through the stand-in host, on a street of 100 distinct objects
// (10,000 triangles each with day and night colours, 1,000,000 in all),
// each textured with one of 50 images of 1024 x 1024, placed 1,000 times;
// against the same 100 models exported one by one with the map command.
// Both write every model's DFF, TXD and COL; the section writes its IDE,
// IPL and IMG too.  Peak heap counts what the export adds to the scene.
// The section is timed without and with its LOD models (every prop is
// large enough for one), and the simplifier alone on a million triangles.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <regex>
#include <string>

#include "bench/grid_scene.h"
#include "bench/heap_counter.h"
#include "host/module_loader.h"
#include "host/standin_host.h"
#include "lwsdk/item_info.h"
#include "simplify/simplify_mesh.h"
#include "tests/support/files_and_programs.h"
#include "tests/support/test_images.h"

namespace {
namespace fs = std::filesystem;

constexpr int kObjects = 100;
constexpr int kImages = 50;
constexpr int kInstancesPerObject = 10;
constexpr std::uint32_t kSide = 1024;

fs::path BenchFolder() {
  const fs::path folder = fs::temp_directory_path() / ("velmora-section-bench-" + std::to_string(::getpid()));
  fs::create_directories(folder);
  return folder;
}

void WriteImages(const fs::path& folder) {
  for (int i = 0; i < kImages; ++i) {
    pixels::RgbaImage image = testsupport::TestPattern(kSide, kSide);
    image.rgba[0] = static_cast<std::uint8_t>(i);  // every image its own
    testsupport::WriteFileBytes(folder / ("wall" + std::to_string(i) + ".png"),
                                testsupport::EncodeImageFile(image, "png"));
  }
}

void AddImages(const fs::path& folder, host::Scene& scene) {
  for (int i = 0; i < kImages; ++i) {
    const std::string name = "wall" + std::to_string(i) + ".png";
    scene.images.push_back({name, (folder / name).string()});
    scene.textures.push_back(host::Texture{{{host::TextureLayerType::kImage, i}}});
  }
}

// Object i: a grid of 100 x 50 cells (10,000 triangles) with colour maps,
// half of it textured with image i % 50, in a file of its own.
host::ObjectFile PropFile(int i) {
  host::ObjectFile file;
  file.filename = "objects/prop" + std::to_string(i) + ".lwo";
  host::Surface body, glass;
  body.name = "Body";
  body.colorTexture = i % kImages;
  glass.name = "Glass";
  file.surfaces = {body, glass};
  return file;
}

host::Item Placed(int object, int copy) {
  host::Item item;
  item.name = "prop" + std::to_string(object) + " (" + std::to_string(copy + 1) + ")";
  item.objectFile = object;
  item.mesh = object;
  const double x = -900.0 + 18.0 * object;
  const double z = -900.0 + 180.0 * copy;
  item.atTimeZero.params[LWIP_POSITION] = {x, 0.0, z};
  item.atTimeZero.params[LWIP_ROTATION] = {0.3 * copy, 0.0, 0.0};
  return item;
}

// The street: every object, each placed `copies` times; or, with `only`
// set, that object alone once, as a user exports one model with the map
// command.
host::Scene Street(const fs::path& folder, const host::Mesh& prop, int copies, int only = -1) {
  host::Scene scene;
  scene.name = "street.lws";
  AddImages(folder, scene);
  for (int i = 0; i < kObjects; ++i) {
    scene.objectFiles.push_back(PropFile(i));
    scene.meshes.push_back(prop);
    if (only >= 0 && i != only) continue;
    if (only >= 0) {
      scene.items.push_back(Placed(i, 0));
      scene.items.back().atTimeZero.params.clear();  // the model alone stands at the origin
      continue;
    }
    for (int copy = 0; copy < copies; ++copy) scene.items.push_back(Placed(i, copy));
  }
  return scene;
}

host::Mesh Prop() {
  host::Mesh mesh = bench::GridMesh({100, 50});
  bench::AddDayAndNightMaps(mesh);
  return mesh;
}

std::string LastMessage(const host::StandInHost& host) {
  return host.messages().empty() ? "" : host.messages().back().line1;
}

// The triangles of the LOD models the summary lists, against their
// models' ("LODprop0 from prop0: 10000 to 2500 triangles, ...").
double LodTriangleShare(const std::string& summary) {
  const std::regex built(": ([0-9]+) to ([0-9]+) triangles");
  double before = 0, after = 0;
  for (auto it = std::sregex_iterator(summary.begin(), summary.end(), built); it != std::sregex_iterator(); ++it) {
    before += std::stod((*it)[1]);
    after += std::stod((*it)[2]);
  }
  return before > 0 ? after / before : 0;
}

// The command as Layout runs it, with VELMORA_SECTION_MAKE_LODS as
// `makeLods` says, on every object placed `copies` times.  A LOD model
// adds a line per instance, and one IPL holds 1,000 lines: with LODs the
// objects are placed 5 times each.
void WholeSection(benchmark::State& state, const char* makeLods, int copies) {
  setenv("VELMORA_SECTION_MAKE_LODS", makeLods, 1);
  const fs::path folder = BenchFolder();
  WriteImages(folder);
  const host::Scene scene = Street(folder, Prop(), copies);
  const host::PluginModule module(VELMORA_MAP_MODULE_PATH);
  std::string summary;
  std::size_t peak = 0;
  for (auto _ : state) {
    state.PauseTiming();
    fs::remove(folder / "street.ide");
    host::StandInHost host(scene);
    host.SetFileResponder([&folder](const host::FileRequest&) { return (folder / "street.ide").string(); });
    const std::size_t before = bench::LiveHeapBytes();
    bench::ResetPeakHeap();
    state.ResumeTiming();
    module.RunGeneric("Export map section", host.global());
    state.PauseTiming();
    peak = std::max(peak, bench::PeakHeapBytes() - before);
    summary = LastMessage(host);
    state.ResumeTiming();
  }
  if (summary.rfind("Wrote street.ide", 0) != 0) state.SkipWithError(("the export failed: " + summary).c_str());
  state.counters["img_MiB"] = static_cast<double>(fs::file_size(folder / "street.img")) / (1024.0 * 1024.0);
  state.counters["peak_heap_MiB"] = static_cast<double>(peak) / (1024.0 * 1024.0);
  if (std::string(makeLods) == "1") state.counters["lod_triangle_share"] = LodTriangleShare(summary);
  fs::remove_all(folder);
}
BENCHMARK_CAPTURE(WholeSection, without_lods, "0", kInstancesPerObject)
    ->Unit(benchmark::kSecond)->Iterations(1)->UseRealTime();
BENCHMARK_CAPTURE(WholeSection, without_lods_500, "0", 5)->Unit(benchmark::kSecond)->Iterations(1)->UseRealTime();
BENCHMARK_CAPTURE(WholeSection, with_lods_500, "1", 5)->Unit(benchmark::kSecond)->Iterations(1)->UseRealTime();

// A rolling square of 1,000 x 500 cells (1,000,000 triangles), a texture
// seam every 16 columns and two materials, simplified to a quarter.
simplify::Mesh RollingSquare() {
  constexpr int kColumns = 1000, kRows = 500;
  simplify::Mesh mesh;
  mesh.uvSets.resize(1);
  const auto vertex = [&mesh](int column, int row, int repeat) {
    const float x = static_cast<float>(column), z = static_cast<float>(row);
    mesh.positions.push_back({x * 0.1f, std::sin(x * 0.05f) * std::cos(z * 0.03f), z * 0.1f});
    mesh.uvSets[0].push_back({static_cast<float>(column - 16 * repeat) / 16.0f, z / kRows});
    mesh.dayColors.push_back({static_cast<std::uint8_t>(column), static_cast<std::uint8_t>(row), 128, 255});
    return static_cast<std::int32_t>(mesh.positions.size() - 1);
  };
  // Each repeat of 16 columns has vertices of its own: its edges are seams.
  for (int repeat = 0; repeat * 16 < kColumns; ++repeat) {
    const int first = repeat * 16, last = std::min(first + 16, kColumns);
    const std::int32_t base = static_cast<std::int32_t>(mesh.positions.size());
    for (int row = 0; row <= kRows; ++row) {
      for (int column = first; column <= last; ++column) vertex(column, row, repeat);
    }
    const int across = last - first + 1;
    for (int row = 0; row < kRows; ++row) {
      for (int column = 0; column < last - first; ++column) {
        const std::int32_t a = base + row * across + column, b = a + 1, c = a + across + 1, d = a + across;
        const std::int32_t material = row < kRows / 2 ? 0 : 1;
        mesh.cornerVertices.insert(mesh.cornerVertices.end(), {a, c, b, a, d, c});
        mesh.cornerMaterials.insert(mesh.cornerMaterials.end(), 6, material);
      }
    }
  }
  return mesh;
}

void SimplifyMillionTriangles(benchmark::State& state) {
  const simplify::Mesh mesh = RollingSquare();
  simplify::Simplified result;
  for (auto _ : state) result = simplify::SimplifyMesh(mesh, {0.25, 0.02});
  state.counters["triangles"] = static_cast<double>(result.trianglesBefore);
  state.counters["triangle_share"] =
      static_cast<double>(result.trianglesAfter) / static_cast<double>(result.trianglesBefore);
  state.counters["error_bound_m"] = result.errorBound;
}
BENCHMARK(SimplifyMillionTriangles)->Unit(benchmark::kSecond)->Iterations(1)->UseRealTime();

// The 100 models exported one by one with "Export map object to DFF":
// scenes made outside the timing, one export each.
void ModelsOneByOne(benchmark::State& state) {
  const fs::path folder = BenchFolder();
  WriteImages(folder);
  const host::Mesh prop = Prop();
  std::vector<host::Scene> scenes;
  for (int i = 0; i < kObjects; ++i) scenes.push_back(Street(folder, prop, 1, i));
  const host::PluginModule module(VELMORA_MAP_MODULE_PATH);
  std::string failure;
  for (auto _ : state) {
    for (int i = 0; i < kObjects; ++i) {
      state.PauseTiming();
      host::StandInHost host(scenes[static_cast<std::size_t>(i)]);
      const fs::path dff = folder / ("prop" + std::to_string(i) + ".dff");
      host.SetFileResponder([&dff](const host::FileRequest&) { return dff.string(); });
      state.ResumeTiming();
      module.RunGeneric("Export map object to DFF", host.global());
      state.PauseTiming();
      if (LastMessage(host).rfind("Wrote prop", 0) != 0) failure = LastMessage(host);
      state.ResumeTiming();
    }
  }
  if (!failure.empty()) state.SkipWithError(("an export failed: " + failure).c_str());
  fs::remove_all(folder);
}
BENCHMARK(ModelsOneByOne)->Unit(benchmark::kSecond)->Iterations(1)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
