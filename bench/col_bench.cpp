// The COL entry of a 100,000-triangle model: a 50,000-triangle collision
// mesh built and written, with the other 50,000 triangles' points only
// widening the bounds, as makecol and the map command use them.  Counts
// the heap at its peak above the source triangles.
#include <benchmark/benchmark.h>

#include <vector>

#include "bench/heap_counter.h"
#include "col/col3_writer.h"
#include "col/entry_builder.h"

namespace {

// A square grid of `cells` x `cells` cells, 0.5 m apart, two triangles a
// cell, corners shared between neighbours as a modelled mesh shares them.
std::vector<col::SourceTriangle> Grid(int cells, double height) {
  std::vector<col::SourceTriangle> triangles;
  triangles.reserve(static_cast<std::size_t>(2 * cells * cells));
  auto at = [&](int i, int j) { return col::Point{(i - cells / 2) * 0.5, (j - cells / 2) * 0.5, height}; };
  for (int i = 0; i < cells; ++i) {
    for (int j = 0; j < cells; ++j) {
      triangles.push_back({{at(i, j), at(i, j + 1), at(i + 1, j)}, 0, static_cast<std::uint32_t>((i + j) % 2)});
      triangles.push_back({{at(i + 1, j), at(i, j + 1), at(i + 1, j + 1)}, 0, 0});
    }
  }
  return triangles;
}

void BuildAndWriteEntry(benchmark::State& state) {
  constexpr int kCells = 158;  // 2 x 158 x 158 = 49,928 triangles
  col::EntrySource source;
  source.name = "grid";
  source.items = {"grid:col"};
  source.surfaces = {"tarmac", "grass short lush"};
  source.collision = Grid(kCells, 0.0);
  for (const col::SourceTriangle& t : Grid(kCells, 3.0)) source.visual.push_back(t.corners[0]);
  std::size_t bytes = 0, faces = 0, groups = 0, peak = 0;
  for (auto _ : state) {
    bench::ResetPeakHeap();
    const std::size_t before = bench::LiveHeapBytes();
    const col::BuiltEntry built = col::BuildEntry(source);
    std::vector<std::uint8_t> file;
    col::AppendCol3Entry(built.entry, file);
    benchmark::DoNotOptimize(file.data());
    bytes = file.size();
    faces = built.entry.mesh.faces.size();
    groups = built.entry.faceGroups.size();
    peak = bench::PeakHeapBytes() - before;
  }
  state.counters["faces"] = static_cast<double>(faces);
  state.counters["face_groups"] = static_cast<double>(groups);
  state.counters["file_bytes"] = static_cast<double>(bytes);
  state.counters["peak_heap_MiB"] = static_cast<double>(peak) / (1024.0 * 1024.0);
}

BENCHMARK(BuildAndWriteEntry)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
