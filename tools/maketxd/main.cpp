// maketxd MODEL.dff -o MODEL.txd [--images DIR ...] [--compress auto|dxt1|dxt3|dxt5|none]
//         [--quality fast|best] [--no-mipmaps] [--max-size N] [--allow-missing] [--verbose]
//
// Builds the texture dictionary a DFF needs in San Andreas on PC from the
// image files of its textures.  Exit status: 0 when the dictionary was
// written, 1 when it was not (the reasons are printed), 2 for bad usage or
// a model that cannot be read.
#include <CLI/CLI.hpp>

#include <cstdio>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "dff_inspect/inspect.h"
#include "pixels/image_size_limit.h"
#include "txd_build/dictionary_builder.h"
#include "txd_build/dictionary_file.h"
#include "txd_build/image_search.h"
#include "txd_build/texture_uses.h"

namespace {
namespace fs = std::filesystem;

constexpr int kWritten = 0;
constexpr int kNotWritten = 1;
constexpr int kBadUsage = 2;

struct Options {
  std::string model;
  std::string output;
  std::vector<std::string> imageFolders;
  pixels::EncodeOptions encode;
  bool noMipmaps = false;
  bool allowMissing = false;
  bool verbose = false;
};

// The sides --max-size takes: every power of two from a DXT block's side
// to the largest image decoded, beyond which no image reaches.
std::vector<std::uint32_t> MaxSizeChoices() {
  std::vector<std::uint32_t> sides;
  for (std::uint32_t side = 4; side <= pixels::kMaxImageSide; side *= 2) sides.push_back(side);
  return sides;
}

int Report(const std::vector<std::string>& lines, const char* prefix) {
  for (const std::string& line : lines) std::fprintf(stderr, "maketxd: %s%s\n", prefix, line.c_str());
  return static_cast<int>(lines.size());
}

int Run(const Options& options) {
  std::vector<std::uint8_t> bytes;
  std::string error;
  if (!dffinfo::ReadWholeFile(options.model, bytes, error)) {
    std::fprintf(stderr, "maketxd: %s\n", error.c_str());
    return kBadUsage;
  }
  const dffinfo::Inspection model = dffinfo::Inspect(bytes);
  if (!model.sound()) {
    std::fprintf(stderr,
                 "maketxd: %s is damaged, so its texture names cannot be trusted; "
                 "`dffinfo %s` shows where\n",
                 options.model.c_str(), options.model.c_str());
    return kBadUsage;
  }

  txdbuild::ImageSearchPlaces places;
  places.imageFolders.assign(options.imageFolders.begin(), options.imageFolders.end());
  places.modelFolders.push_back(fs::path(options.model).parent_path());
  const txdbuild::ImageSearch images(std::move(places));
  const txdbuild::DictionaryBuild build = txdbuild::BuildDictionary(
      txdbuild::CollectTextureUses(model), images.Lookup(options.verbose), options.encode);

  Report(build.errors, "");
  Report(build.missing, options.allowMissing ? "left out: " : "");
  if (!build.errors.empty() || (!build.missing.empty() && !options.allowMissing)) {
    std::fprintf(stderr, "maketxd: %s was not written%s\n", options.output.c_str(),
                 build.errors.empty() ? "; --allow-missing writes it without the missing textures" : "");
    return kNotWritten;
  }

  if (!txdbuild::WriteDictionaryFile(build.textures, options.output, error)) {
    std::fprintf(stderr, "maketxd: %s was not written: %s\n", options.output.c_str(), error.c_str());
    return kNotWritten;
  }
  std::printf("%s: %zu textures\n", options.output.c_str(), build.textures.size());
  return kWritten;
}

}  // namespace

int main(int argc, char** argv) {
  CLI::App app{"Builds the San Andreas (PC) texture dictionary of a DFF model from its image files."};
  Options options;
  std::string compression = "auto";
  std::string quality = "fast";
  app.add_option("model", options.model, "the DFF whose textures to collect")->required();
  app.add_option("-o,--output", options.output, "the TXD file to write")->required();
  app.add_option("--images", options.imageFolders,
                 "folders to look for images in, before the model's own folder and the usual "
                 "image folders around it");
  app.add_option("--compress", compression,
                 "auto (DXT1 opaque, DXT1 1-bit alpha for cut-outs, DXT5 smooth alpha), "
                 "dxt1, dxt3, dxt5, or none (32-bit)")
      ->check(CLI::IsMember({"auto", "dxt1", "dxt3", "dxt5", "none"}));
  app.add_option("--quality", quality,
                 "fast (the default; stb_dxt's fit, about a hundred times quicker) or best "
                 "(libsquish's cluster fit, a few percent less error)")
      ->check(CLI::IsMember({"fast", "best"}));
  app.add_flag("--no-mipmaps", options.noMipmaps, "store only the full-size level");
  app.add_option("--max-size", options.encode.maxSize,
                 "the largest side of a texture, a power of two from 4 to " +
                     std::to_string(pixels::kMaxImageSide) + " (default 1024); larger images are scaled down")
      ->check(CLI::IsMember(MaxSizeChoices()));
  app.add_flag("--allow-missing", options.allowMissing,
               "write the dictionary without the textures whose image is not found");
  app.add_flag("--verbose", options.verbose, "list every place looked at for an image not found");
  app.footer(std::string("Images: ") + txdbuild::kImageSearchHelp +
             "  maketxd knows no stored paths and no content directory: it starts at (2) and "
             "goes up to the root.");
  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    const int status = app.exit(e);
    return status == 0 ? kWritten : kBadUsage;
  }
  const std::map<std::string, pixels::Compression> kinds = {
      {"auto", pixels::Compression::Auto}, {"dxt1", pixels::Compression::Dxt1},
      {"dxt3", pixels::Compression::Dxt3}, {"dxt5", pixels::Compression::Dxt5},
      {"none", pixels::Compression::None}};
  options.encode.compression = kinds.at(compression);
  options.encode.quality = quality == "best" ? pixels::DxtQuality::Best : pixels::DxtQuality::Fast;
  options.encode.mipmaps = !options.noMipmaps;
  return Run(options);
}
