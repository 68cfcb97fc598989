// Times a texture dictionary of 50 textures of 1024 x 1024 texels, as
// maketxd builds it: each PNG decoded, given its 11 mip levels and
// compressed to DXT1, then the dictionary written.  Each DXT fit runs in
// turn (Fast, maketxd's default, and Best, its --quality best), so the two
// are compared on one machine in one run.  Reported per fit: the texture
// count, the seconds per texture, the peak resident size of the process so
// far (the fit that runs first, Fast, has its own; --benchmark_filter=best
// gives Best's), and the round-trip error: the root-mean-square difference per
// channel between every level and its DXT blocks decoded, over the
// benchmark's images and the test images (the bundled example's images, a
// cut-out and a smooth-alpha pattern), colour counted only where a texel
// shows.  DecodeFiftyFiles times the decoding of the same 50 images alone.
#include <benchmark/benchmark.h>
#include <squish.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cmath>
#include <filesystem>

#include "dff/output_stream.h"
#include "pixels/alpha.h"
#include "pixels/image_decoder.h"
#include "pixels/mip_chain.h"
#include "tests/support/files_and_programs.h"
#include "tests/support/test_images.h"
#include "txd/txd_writer.h"
#include "txd_build/dictionary_builder.h"

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

struct SquaredError {
  double sum = 0;
  double count = 0;
  double Rms() const { return std::sqrt(sum / count); }
};

int SquishFormat(std::uint32_t d3dFormat) {
  if (d3dFormat == txd::kD3dDxt3) return squish::kDxt3;
  return d3dFormat == txd::kD3dDxt5 ? squish::kDxt5 : squish::kDxt1;
}

// Adds the difference between each level of `chain` and the texture's
// level decoded.
void AddError(const txd::NativeTexture& texture, const std::vector<pixels::RgbaImage>& chain, SquaredError& error) {
  for (std::size_t l = 0; l < chain.size(); ++l) {
    const pixels::RgbaImage& source = chain[l];
    pixels::RgbaImage decoded(source.width, source.height);
    squish::DecompressImage(decoded.rgba.data(), static_cast<int>(source.width), static_cast<int>(source.height),
                            texture.levels[l].data(), SquishFormat(texture.d3dFormat));
    for (std::size_t i = 0; i < source.rgba.size(); ++i) {
      if (i % 4 != 3 && source.rgba[i | 3] == 0) continue;
      const double d = int{source.rgba[i]} - int{decoded.rgba[i]};
      error.sum += d * d;
      error.count += 1;
    }
  }
}

// The test images, each a power of two so that its chain is the encoder's:
// the bundled example's images, a cut-out and a smooth-alpha pattern.
std::vector<pixels::RgbaImage> TestImages() {
  std::vector<pixels::RgbaImage> images;
  for (const char* file : {"paint.tga", "chrome_env.tga"}) {
    const fs::path path = fs::path(VELMORA_SOURCE_DIR) / "examples/buggy/images" / file;
    images.push_back(pixels::DecodeImage(testsupport::ReadFileBytes(path), path.string()));
  }
  pixels::RgbaImage cutOut = testsupport::TestPattern(256, 256);
  pixels::RgbaImage smooth = testsupport::TestPattern(256, 256);
  for (std::uint32_t y = 0; y < 256; ++y) {
    for (std::uint32_t x = 0; x < 256; ++x) {
      cutOut.texel(x, y)[3] = (x / 8 + y / 8) % 3 != 0 ? 255 : 0;
      smooth.texel(x, y)[3] = static_cast<std::uint8_t>(x);
    }
  }
  images.push_back(std::move(cutOut));
  images.push_back(std::move(smooth));
  return images;
}

// The levels the encoder compresses for `image` under the automatic choice.
std::vector<pixels::RgbaImage> EncodedChain(const pixels::RgbaImage& image) {
  const pixels::AlphaKind alpha = pixels::ClassifyAlpha(image);
  std::vector<pixels::RgbaImage> chain = pixels::BuildMipChain(image);
  for (pixels::RgbaImage& level : chain) {
    if (alpha == pixels::AlphaKind::Opaque) pixels::MakeOpaque(level);
    if (alpha == pixels::AlphaKind::Binary) pixels::ThresholdAlpha(level);
  }
  return chain;
}

void FiftyTexturesOf1024(benchmark::State& state, pixels::DxtQuality quality) {
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
  pixels::EncodeOptions options;
  options.quality = quality;

  std::size_t bytes = 0;
  std::vector<txd::NativeTexture> textures;
  for (auto _ : state) {
    textures = txdbuild::BuildDictionary(uses, lookup, options).textures;
    dff::OutputStream stream;
    txd::WriteTextureDictionary(stream, textures);
    bytes = stream.size();
    benchmark::DoNotOptimize(stream.bytes().data());
  }
  fs::remove_all(folder);
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);

  SquaredError error;
  // Each texture is let go once measured, so that the next fit's peak
  // resident size is its own.
  for (int i = 0; i < kTextures; ++i) {
    txd::NativeTexture& texture = textures[static_cast<std::size_t>(i)];
    AddError(texture, EncodedChain(Image(i)), error);
    texture.levels = {};
  }
  for (const pixels::RgbaImage& image : TestImages()) {
    AddError(pixels::EncodeTexture("test", "", image, std::nullopt, options), EncodedChain(image), error);
  }
  state.counters["textures"] = static_cast<double>(textures.size());
  state.counters["seconds_per_texture"] = benchmark::Counter(
      static_cast<double>(textures.size()), benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
  state.counters["rms_error"] = error.Rms();
  state.counters["txd_bytes"] = static_cast<double>(bytes);
  state.counters["peak_rss_mib"] = static_cast<double>(usage.ru_maxrss) / 1024.0;
}
// The decoding step alone: the 50 textures' files, PNG as the dictionary
// above reads them and JPEG as texture packs often hold them, each decoded
// to RGBA.
void DecodeFiftyFiles(benchmark::State& state, const std::string& kind) {
  std::vector<std::vector<std::uint8_t>> files;
  for (int i = 0; i < kTextures; ++i) files.push_back(testsupport::EncodeImageFile(Image(i), kind));
  for (auto _ : state) {
    for (const std::vector<std::uint8_t>& file : files) {
      benchmark::DoNotOptimize(pixels::DecodeImage(file, "texture." + kind).rgba.data());
    }
  }
  state.counters["seconds_per_texture"] =
      benchmark::Counter(kTextures, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
BENCHMARK_CAPTURE(DecodeFiftyFiles, png, std::string("png"))->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(DecodeFiftyFiles, jpg, std::string("jpg"))->Unit(benchmark::kMillisecond)->UseRealTime();

// The processor time is the whole process's: Debian's libsquish spreads
// its blocks over every core with OpenMP.
BENCHMARK_CAPTURE(FiftyTexturesOf1024, fast, pixels::DxtQuality::Fast)
    ->Unit(benchmark::kSecond)->Iterations(1)->UseRealTime()->MeasureProcessCPUTime();
BENCHMARK_CAPTURE(FiftyTexturesOf1024, best, pixels::DxtQuality::Best)
    ->Unit(benchmark::kSecond)->Iterations(1)->UseRealTime()->MeasureProcessCPUTime();

}  // namespace

BENCHMARK_MAIN();
