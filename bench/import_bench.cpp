// The import of a 1,000,000-triangle DFF whose 50 materials each name a
// texture of its TXD (256 x 256, DXT1), against the export of the same
// model: the first command's geometry build and clump writing on the grid
// the DFF was exported from.  The import reads the DFF and TXD, makes the
// LightWave scene, and writes its files (objects, PNG images, scene) into
// a temporary folder; the export writes its clump into memory.  The object
// loader's part, the DFF read and made into one object in the clump's
// space with its surface blocks, is measured too.  All count the heap
// they take at their peak.
#include <benchmark/benchmark.h>

#include <chrono>
#include <filesystem>
#include <string>

#include "bench/grid_scene.h"
#include "bench/heap_counter.h"
#include "dff/output_stream.h"
#include "host/standin_host.h"
#include "import/game_files.h"
#include "import_scene/clump_object.h"
#include "import_scene/lightwave_files.h"
#include "scene/dff_exporter.h"
#include "txd/native_texture.h"
#include "txd/txd_writer.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kTextures = 50;
constexpr std::uint16_t kTextureSide = 256;

template <class Table>
const Table* Service(host::StandInHost& host, const char* name) {
  return static_cast<const Table*>(host.Global(name));
}

std::string TextureName(int i) { return "tex" + std::to_string(i); }

// The grid of 1000 x 500 cells, its polygons in 50 bands each of a
// surface with a texture of its own.
host::Scene BandedGrid() {
  host::Scene scene = bench::GridScene({1000, 500});
  scene.images.clear();
  scene.textures.clear();
  scene.objectFiles[0].surfaces.clear();
  for (int i = 0; i < kTextures; ++i) {
    host::Image image;
    image.name = TextureName(i) + ".png";
    scene.images.push_back(image);
    host::Texture texture;
    texture.layers.push_back({host::TextureLayerType::kImage, i});
    scene.textures.push_back(texture);
    host::Surface surface;
    surface.name = "band" + std::to_string(i);
    surface.colorTexture = i;
    scene.objectFiles[0].surfaces.push_back(surface);
  }
  std::vector<host::Polygon>& polygons = scene.meshes[0].polygons;
  for (std::size_t p = 0; p < polygons.size(); ++p) {
    polygons[p].surface = "band" + std::to_string(p * kTextures / polygons.size());
  }
  return scene;
}

// Exports the scene by the first command's steps, the clump into memory.
std::vector<std::uint8_t> Export(host::StandInHost& host) {
  scene::DffExporter exporter(
      Service<LWSceneInfo>(host, LWSCENEINFO_GLOBAL), Service<LWObjectInfo>(host, LWOBJECTINFO_GLOBAL),
      Service<LWObjectFuncs>(host, LWOBJECTFUNCS_GLOBAL), Service<LWSurfaceFuncs>(host, LWSURFACEFUNCS_GLOBAL),
      Service<LWItemInfo>(host, LWITEMINFO_GLOBAL), Service<LWImageList>(host, LWIMAGELIST_GLOBAL),
      Service<LWTextureFuncs>(host, LWTEXTUREFUNCS_GLOBAL), nullptr);
  exporter.BuildFrames();
  exporter.BuildAllGeometry();
  dff::OutputStream stream;
  exporter.WriteClump(stream);
  stream.Finish();
  exporter.ReleaseAll();
  return stream.bytes();
}

std::vector<std::uint8_t> Dictionary() {
  std::vector<txd::NativeTexture> textures;
  for (int i = 0; i < kTextures; ++i) {
    txd::NativeTexture t;
    t.name = TextureName(i);
    t.rasterFormat = txd::kRaster565;
    t.d3dFormat = txd::kD3dDxt1;
    t.width = t.height = kTextureSide;
    t.depth = 16;
    t.flags = txd::kFlagCompressed;
    std::vector<std::uint8_t> blocks(std::size_t{kTextureSide} * kTextureSide / 2);
    for (std::size_t b = 0; b < blocks.size(); ++b) blocks[b] = static_cast<std::uint8_t>(b * 31 + static_cast<std::size_t>(i));
    t.levels.push_back(std::move(blocks));
    textures.push_back(std::move(t));
  }
  dff::OutputStream stream;
  txd::WriteTextureDictionary(stream, textures);
  stream.Finish();
  return stream.bytes();
}

struct Model {
  host::StandInHost host{BandedGrid()};
  std::vector<std::uint8_t> dff = Export(host);
  std::vector<std::uint8_t> txd = Dictionary();
};

Model& TheModel() {
  static Model model;
  return model;
}

// The time and the heap of each timed iteration, summed up for the run.
class Measurement {
 public:
  void Start() {
    before_ = bench::LiveHeapBytes();
    bench::ResetPeakHeap();
    start_ = Clock::now();
  }
  Clock::time_point started() const { return start_; }
  void Stop(benchmark::State& state) {
    const double elapsed = std::chrono::duration<double>(Clock::now() - start_).count();
    state.SetIterationTime(elapsed);
    seconds_ += elapsed;
    peak_ = std::max(peak_, bench::PeakHeapBytes() - before_);
  }
  void Report(benchmark::State& state, std::size_t dffBytes) const {
    state.counters["seconds"] = seconds_ / static_cast<double>(state.iterations());
    state.counters["peak_heap_MiB"] = static_cast<double>(peak_) / (1024.0 * 1024.0);
    state.counters["dff_bytes"] = static_cast<double>(dffBytes);
  }

 private:
  std::size_t before_ = 0;
  Clock::time_point start_;
  double seconds_ = 0;
  std::size_t peak_ = 0;
};

void ExportModel(benchmark::State& state) {
  Model& model = TheModel();
  Measurement measured;
  for (auto _ : state) {
    measured.Start();
    benchmark::DoNotOptimize(Export(model.host));
    measured.Stop(state);
  }
  measured.Report(state, model.dff.size());
}

void ImportModel(benchmark::State& state) {
  Model& model = TheModel();
  const std::filesystem::path folder = std::filesystem::temp_directory_path() / "velmora-import-bench";
  Measurement measured;
  double readSeconds = 0, convertSeconds = 0;
  for (auto _ : state) {
    measured.Start();
    import::Read<import::Model> read = import::ReadDff(model.dff, "grid.dff");
    import::Read<std::vector<import::Texture>> textures = import::ReadTxd(model.txd, "grid.txd");
    if (!read.value || !textures.value) {
      state.SkipWithError("the model or its dictionary cannot be read");
      break;
    }
    read.value->textures = std::move(*textures.value);
    const Clock::time_point readDone = Clock::now();
    const import_scene::SceneFiles files = import_scene::ToLightWave(*read.value, "grid");
    const Clock::time_point converted = Clock::now();
    readSeconds += std::chrono::duration<double>(readDone - measured.started()).count();
    convertSeconds += std::chrono::duration<double>(converted - readDone).count();
    const std::string error = import_scene::WriteSceneFiles(files, folder.string());
    measured.Stop(state);
    if (!error.empty()) state.SkipWithError(error.c_str());
  }
  std::filesystem::remove_all(folder);
  measured.Report(state, model.dff.size());
  // Reading the DFF and TXD; making the scene; the rest is writing its files.
  state.counters["read_s"] = readSeconds / static_cast<double>(state.iterations());
  state.counters["convert_s"] = convertSeconds / static_cast<double>(state.iterations());
}

void LoadModelAsObject(benchmark::State& state) {
  Model& model = TheModel();
  Measurement measured;
  for (auto _ : state) {
    measured.Start();
    import::Read<import::Model> read = import::ReadDff(model.dff, "grid.dff");
    if (!read.value) {
      state.SkipWithError("the model cannot be read");
      break;
    }
    std::vector<std::string> warnings;
    benchmark::DoNotOptimize(import_scene::ToClumpObject(*read.value, warnings));
    measured.Stop(state);
  }
  measured.Report(state, model.dff.size());
}

BENCHMARK(ExportModel)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(LoadModelAsObject)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(ImportModel)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

BENCHMARK_MAIN();
