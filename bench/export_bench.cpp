// Times the two export phases that grow with the mesh, building the
// geometry and writing the clump, on a grid of 1,000,000 triangles served
// by the stand-in host, and counts the heap they take at their peak above
// what the host's scene already holds: once as the first command builds it
// from the grid without colours, once as the map command builds it from
// the grid with day and night colour maps (their seams split vertices, and
// the grid's vertices make several parts).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <memory>

#include <sys/resource.h>

#include "bench/grid_scene.h"
#include "bench/heap_counter.h"
#include "dff/output_stream.h"
#include "effects/effect_builder.h"
#include "host/standin_host.h"
#include "scene/dff_exporter.h"

namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point from, Clock::time_point to) {
  return std::chrono::duration<double>(to - from).count();
}

// Pages the process touched for the first time (minor faults) so far.  A
// build that writes fresh memory pays one fault per 4 KiB page, which on a
// virtual machine can cost more than the writing itself.
long MinorFaults() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_minflt;
}

// Processor time of this thread: on a machine shared with other work, the
// wall-clock time also counts the time other processes held the processor.
double ThreadSeconds() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

template <class Table>
const Table* Service(host::StandInHost& host, const char* name) {
  return static_cast<const Table*>(host.Global(name));
}

void BuildGeometryAndWriteClump(benchmark::State& state, bool mapObject) {
  // 1000 x 500 cells: 501,501 points and 1,000,000 triangles.
  host::Scene grid = bench::GridScene({1000, 500});
  if (mapObject) bench::AddDayAndNightMaps(grid.meshes.front());
  host::StandInHost host(std::move(grid));
  double geometrySeconds = 0.0, clumpSeconds = 0.0, processorSeconds = 0.0, firstProcessorSeconds = -1.0;
  long faults = 0;
  std::int64_t bytes = 0, vertices = 0, triangles = 0;
  std::size_t peakAboveScene = 0;

  for (auto _ : state) {
    scene::DffExporter exporter(
        Service<LWSceneInfo>(host, LWSCENEINFO_GLOBAL), Service<LWObjectInfo>(host, LWOBJECTINFO_GLOBAL),
        Service<LWObjectFuncs>(host, LWOBJECTFUNCS_GLOBAL), Service<LWSurfaceFuncs>(host, LWSURFACEFUNCS_GLOBAL),
        Service<LWItemInfo>(host, LWITEMINFO_GLOBAL), Service<LWImageList>(host, LWIMAGELIST_GLOBAL),
        Service<LWTextureFuncs>(host, LWTEXTUREFUNCS_GLOBAL), nullptr);
    if (mapObject) exporter.choices = scene::MapObjectChoices();
    exporter.BuildFrames();
    // Written to a file as it goes, as the export command writes it.
    std::FILE* file = std::tmpfile();
    if (file == nullptr) state.SkipWithError("no temporary file for the clump");
    dff::OutputStream stream;
    stream.StreamTo(file);

    const std::size_t sceneBytes = bench::LiveHeapBytes();
    bench::ResetPeakHeap();
    const long faultsStart = MinorFaults();
    const double processorStart = ThreadSeconds();
    const Clock::time_point start = Clock::now();
    exporter.BuildAllGeometry();
    const Clock::time_point built = Clock::now();
    exporter.WriteClump(stream);
    stream.Finish();
    const Clock::time_point written = Clock::now();
    const double iterationProcessorSeconds = ThreadSeconds() - processorStart;
    processorSeconds += iterationProcessorSeconds;
    if (firstProcessorSeconds < 0.0) firstProcessorSeconds = iterationProcessorSeconds;
    faults += MinorFaults() - faultsStart;
    peakAboveScene = std::max(peakAboveScene, bench::PeakHeapBytes() - sceneBytes);

    state.SetIterationTime(Seconds(start, written));
    geometrySeconds += Seconds(start, built);
    clumpSeconds += Seconds(built, written);
    bytes = static_cast<std::int64_t>(stream.size());
    vertices = 0;
    triangles = 0;
    for (const auto& mesh : exporter.meshObjects) {
      vertices += mesh->vertexCount;
      triangles += mesh->triangleCount;
    }
    if (stream.failed()) state.SkipWithError(stream.error().c_str());
    if (file != nullptr) std::fclose(file);
    exporter.ReleaseAll();
  }
  const auto iterations = static_cast<double>(state.iterations());
  state.counters["geometry_s"] = geometrySeconds / iterations;
  state.counters["clump_s"] = clumpSeconds / iterations;
  state.counters["both_cpu_s"] = processorSeconds / iterations;
  // The first export of the process, whose every page of working memory is
  // new to it; later ones may find pages that the allocator kept.
  state.counters["first_cpu_s"] = firstProcessorSeconds;
  state.counters["page_faults"] = static_cast<double>(faults) / iterations;
  state.counters["vertices"] = static_cast<double>(vertices);
  state.counters["file_bytes"] = static_cast<double>(bytes);
  // Everything allocated during the two phases, the host's mesh snapshot
  // included, at its highest.
  state.counters["peak_heap_MiB"] = static_cast<double>(peakAboveScene) / (1024.0 * 1024.0);
  state.counters["peak_heap_per_triangle"] =
      triangles > 0 ? static_cast<double>(peakAboveScene) / static_cast<double>(triangles) : 0.0;
}

BENCHMARK_CAPTURE(BuildGeometryAndWriteClump, first_command, false)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);
BENCHMARK_CAPTURE(BuildGeometryAndWriteClump, map_command_colours, true)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

// The map command's effects step alone, on its model of the grid with
// 1,000 point lights and 1,000 particle nulls hung on it through a null:
// each is placed by climbing to its object, and its entry added to the
// first geometry.
void AttachEffectsStep(benchmark::State& state) {
  host::Scene grid = bench::GridScene({1000, 500});
  bench::AddDayAndNightMaps(grid.meshes.front());
  bench::AddLamps(grid, 1000);
  host::StandInHost host(std::move(grid));
  const auto* itemInfo = Service<LWItemInfo>(host, LWITEMINFO_GLOBAL);
  const auto* objectInfo = Service<LWObjectInfo>(host, LWOBJECTINFO_GLOBAL);
  scene::DffExporter exporter(
      Service<LWSceneInfo>(host, LWSCENEINFO_GLOBAL), objectInfo, Service<LWObjectFuncs>(host, LWOBJECTFUNCS_GLOBAL),
      Service<LWSurfaceFuncs>(host, LWSURFACEFUNCS_GLOBAL), itemInfo, Service<LWImageList>(host, LWIMAGELIST_GLOBAL),
      Service<LWTextureFuncs>(host, LWTEXTUREFUNCS_GLOBAL), nullptr);
  exporter.choices = scene::MapObjectChoices();
  exporter.BuildFrames();
  exporter.BuildAllGeometry();
  const auto* lightInfo = Service<LWLightInfo>(host, LWLIGHTINFO_GLOBAL);
  int entries = 0;
  for (auto _ : state) {
    for (const auto& mesh : exporter.meshObjects) mesh->effects.clear();
    const Clock::time_point start = Clock::now();
    const effects::EffectsOutcome outcome = effects::AttachEffects(*itemInfo, *objectInfo, lightInfo, exporter);
    state.SetIterationTime(Seconds(start, Clock::now()));
    entries = outcome.lights + outcome.particles;
  }
  if (entries != 2000) state.SkipWithError("the effects step did not place every lamp and fire");
  state.counters["entries"] = entries;
  exporter.ReleaseAll();
}

BENCHMARK(AttachEffectsStep)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(20);

}  // namespace

BENCHMARK_MAIN();
