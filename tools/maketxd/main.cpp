// maketxd MODEL.dff -o MODEL.txd [--images DIR ...] [--compress auto|dxt1|dxt3|dxt5|none]
//         [--no-mipmaps] [--max-size N] [--allow-missing]
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
#include "txd_build/dictionary_builder.h"
#include "txd_build/dictionary_file.h"
#include "txd_build/image_folders.h"
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
};

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

  std::vector<fs::path> folders(options.imageFolders.begin(), options.imageFolders.end());
  folders.push_back(fs::path(options.model).parent_path());
  const txdbuild::ImageFolders images(folders);
  const txdbuild::DictionaryBuild build = txdbuild::BuildDictionary(
      txdbuild::CollectTextureUses(model), txdbuild::FolderLookup(images), options.encode);

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
  app.add_option("model", options.model, "the DFF whose textures to collect")->required();
  app.add_option("-o,--output", options.output, "the TXD file to write")->required();
  app.add_option("--images", options.imageFolders,
                 "folders to look for images in, before the model's own folder");
  app.add_option("--compress", compression,
                 "auto (DXT1 opaque, DXT1 1-bit alpha for cut-outs, DXT5 smooth alpha), "
                 "dxt1, dxt3, dxt5, or none (32-bit)")
      ->check(CLI::IsMember({"auto", "dxt1", "dxt3", "dxt5", "none"}));
  app.add_flag("--no-mipmaps", options.noMipmaps, "store only the full-size level");
  app.add_option("--max-size", options.encode.maxSize, "the largest side, a power of two (default 1024)")
      ->check(CLI::IsMember({4u, 8u, 16u, 32u, 64u, 128u, 256u, 512u, 1024u, 2048u, 4096u, 8192u,
                             16384u, 32768u}));
  app.add_flag("--allow-missing", options.allowMissing,
               "write the dictionary without the textures whose image is not found");
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
  options.encode.mipmaps = !options.noMipmaps;
  return Run(options);
}
