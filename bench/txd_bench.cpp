// Times a texture dictionary of 50 textures of 1024 x 1024 texels, as
// maketxd builds it: each PNG decoded, given its 11 mip levels and
// compressed to DXT1, then the dictionary written.  The peak resident size
// of the process is reported too.
#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <unistd.h>

#include <filesystem>

#include "dff/output_stream.h"
#include "tests/support/files_and_programs.h"
#include "tests/support/test_images.h"
#include "txd_build/dictionary_builder.h"
#include "txd/txd_writer.h"

namespace {
namespace fs = std::filesystem;

constexpr int kTextures = 50;
constexpr std::uint32_t kSide = 1024;

// Different images, so that no compression result can be reused.
pixels::RgbaImage Image(int index) {
  pixels::RgbaImage image = testsupport::TestPattern(kSide, kSide);
  for (std::size_t i = 0; i < image.rgba.size(); i += 4) {
    image.rgba[i + 2] = static_cast<std::uint8_t>(image.rgba[i + 2] + (i / 4 * 7 + static_cast<std::size_t>(index) * 13) % 61);
  }
  return image;
}

void FiftyTexturesOf1024(benchmark::State& state) {
  const fs::path folder = fs::temp_directory_path() / ("velmora-txd-bench-" + std::to_string(::getpid()));
  fs::create_directories(folder);
  std::vector<txdbuild::TextureUse> uses;
  for (int i = 0; i < kTextures; ++i) {
    const std::string name = "texture" + std::to_string(i);
    testsupport::WriteFileBytes(folder / (name + ".png"), testsupport::EncodeImageFile(Image(i), "png"));
    uses.push_back({name, "", "material " + std::to_string(i)});
  }
  const txdbuild::ImageLookup lookup{
      [&folder](const std::string& name) -> std::optional<fs::path> { return folder / (name + ".png"); },
      [](const std::string&) { return std::string(); }};

  std::size_t bytes = 0;
  for (auto _ : state) {
    const txdbuild::DictionaryBuild build = txdbuild::BuildDictionary(uses, lookup, pixels::EncodeOptions{});
    dff::OutputStream stream;
    txd::WriteTextureDictionary(stream, build.textures);
    bytes = stream.size();
    benchmark::DoNotOptimize(stream.bytes().data());
  }
  fs::remove_all(folder);
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  state.counters["txd_bytes"] = static_cast<double>(bytes);
  state.counters["peak_rss_mib"] = static_cast<double>(usage.ru_maxrss) / 1024.0;
}
BENCHMARK(FiftyTexturesOf1024)->Unit(benchmark::kSecond)->Iterations(1)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
