// makecol INPUT... -o OUT.col [--name NAME] [--bounds-only]
//
// Builds a COL file (COL3, as San Andreas on PC reads it) with one entry per
// input: a LightWave object or scene, whose collision and shadow items (or,
// without a collision item, its visible polygons) become the entry, or a
// DFF, whose triangles do.  Exit status: 0 when the file was written, 1
// when an input cannot be used or the file cannot be written (nothing is
// written then), 2 for bad usage.
#include <CLI/CLI.hpp>

#include <cstdio>
#include <filesystem>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "col/col3_writer.h"
#include "dff/output_stream.h"
#include "host/lightwave_files.h"
#include "dff/output_file.h"
#include "tools/makecol/entry_sources.h"

namespace makecol {
namespace {

constexpr int kWritten = 0;
constexpr int kNotWritten = 1;
constexpr int kBadUsage = 2;

struct Options {
  std::vector<std::string> inputs;
  std::string output;
  std::string name;
  bool boundsOnly = false;
};

bool IsLightWaveFile(const std::vector<std::uint8_t>& bytes) {
  auto starts = [&](const char* tag, std::size_t at) {
    return bytes.size() >= at + 4 && std::equal(tag, tag + 4, bytes.begin() + static_cast<std::ptrdiff_t>(at));
  };
  return starts("LWSC", 0) || (starts("FORM", 0) && (starts("LWO2", 8) || starts("LWOB", 8)));
}

GatheredEntry Gather(const std::string& input) {
  std::vector<std::uint8_t> bytes;
  std::string error;
  if (!dffinfo::ReadWholeFile(input, bytes, error)) throw std::runtime_error(error);
  if (IsLightWaveFile(bytes)) {
    bytes = {};
    try {
      return FromScene(host::LoadSceneFile(input));
    } catch (const host::LoadError& e) {
      // The loader names the file first; the caller names it already.
      const std::string message = e.what();
      const std::string named = input + ": ";
      throw std::runtime_error(message.compare(0, named.size(), named) == 0 ? message.substr(named.size()) : message);
    }
  }
  const dffinfo::Inspection model = dffinfo::Inspect(bytes);
  if (model.clumps.empty()) {
    throw std::runtime_error("it is neither a LightWave object or scene nor a DFF model");
  }
  if (!model.sound()) {
    throw std::runtime_error("the DFF is damaged, so its triangles cannot be trusted; `dffinfo " + input +
                             "` shows where");
  }
  return FromClump(model.clumps.front());
}

void Warn(const std::string& input, const std::string& message) {
  std::fprintf(stderr, "makecol: warning: %s: %s\n", input.c_str(), message.c_str());
}

void WarnAbout(const std::string& input, const GatheredEntry& gathered, const col::BuiltEntry& built) {
  if (built.nameCut) {
    Warn(input, "the entry name is cut to '" + built.entry.name +
                    "' (21 bytes at most); the game finds the collision by the model's name, so name the "
                    "DFF and its item definition the same");
  }
  if (!built.unknownSurfaces.empty()) {
    std::string names;
    for (const std::string& name : built.unknownSurfaces) names += (names.empty() ? "'" : ", '") + name + "'";
    Warn(input, std::to_string(built.defaultedFaces) + " face(s) take the DEFAULT surface (0) because their " +
                    "surface name matches no collision surface: " + names +
                    "; rename the surface after one (TARMAC, GRASS_SHORT_LUSH, ...) or start it with its number");
  }
  if (built.collapsedFaces > 0) {
    Warn(input, std::to_string(built.collapsedFaces) +
                    " face(s) are left out: two of their corners lie within the 1/128 m a COL vertex resolves");
  }
  if (gathered.visualAsCollision && !gathered.source.boundsOnly && !built.entry.mesh.faces.empty()) {
    Warn(input, "no collision item (a layer or item named col, collision, col_*, CM_* or *_col): the visible "
                "triangles are the collision mesh");
  }
}

std::string Count(std::size_t count, const std::string& one, const std::string& many) {
  return std::to_string(count) + " " + (count == 1 ? one : many);
}

std::string Summary(const col::BuiltEntry& built) {
  const col::Entry& e = built.entry;
  std::string line = e.name + ": " + Count(e.mesh.faces.size(), "face", "faces") + ", " +
                     Count(e.mesh.vertices.size(), "vertex", "vertices") + ", " +
                     Count(built.SurfaceCount(), "surface", "surfaces");
  if (!e.faceGroups.empty()) line += ", " + Count(e.faceGroups.size(), "face group", "face groups");
  if (!e.shadow.faces.empty()) line += ", shadow mesh of " + Count(e.shadow.faces.size(), "face", "faces");
  if (!e.HasCollision() && e.shadow.faces.empty()) line += " (bounds only)";
  return line;
}

int Run(const Options& options) {
  if (!options.name.empty() && options.inputs.size() > 1) {
    std::fprintf(stderr, "makecol: --name names the entry of a single input; with several inputs each entry "
                         "takes its file's name\n");
    return kBadUsage;
  }
  std::vector<std::uint8_t> file;
  std::vector<std::string> lines;
  std::set<std::string> names;
  for (const std::string& input : options.inputs) {
    GatheredEntry gathered;
    try {
      gathered = Gather(input);
    } catch (const std::exception& e) {
      std::fprintf(stderr, "makecol: %s cannot be used: %s. %s was not written.\n", input.c_str(), e.what(),
                   options.output.c_str());
      return kNotWritten;
    }
    gathered.source.name = options.name.empty() ? std::filesystem::path(input).stem().string() : options.name;
    gathered.source.boundsOnly = options.boundsOnly;
    const col::BuiltEntry built = col::BuildEntry(gathered.source);
    if (built.failure != col::BuildFailure::kNone) {
      std::fprintf(stderr, "makecol: %s: %s. %s was not written.\n", input.c_str(), built.error.c_str(),
                   options.output.c_str());
      return kNotWritten;
    }
    WarnAbout(input, gathered, built);
    if (!names.insert(built.entry.name).second) {
      Warn(input, "a second entry is named '" + built.entry.name + "'; the game gives a model the first only");
    }
    col::AppendCol3Entry(built.entry, file);
    lines.push_back(Summary(built));
  }
  dff::OutputFile out(options.output);
  if (out.ok()) out.stream().WriteBytes(file.data(), file.size());
  if (!out.ok() || !out.Commit()) {
    std::fprintf(stderr, "makecol: %s was not written: %s\n", options.output.c_str(), out.error().c_str());
    return kNotWritten;
  }
  for (const std::string& line : lines) std::printf("%s\n", line.c_str());
  return kWritten;
}

}  // namespace
}  // namespace makecol

int main(int argc, char** argv) {
  CLI::App app{"Builds a COL file (COL3) with one entry per LightWave object or scene or DFF model."};
  makecol::Options options;
  app.add_option("inputs", options.inputs, "LightWave objects (.lwo) or scenes (.lws), or DFF models")->required();
  app.add_option("-o,--output", options.output, "the COL file to write")->required();
  app.add_option("--name", options.name, "the entry's name, for a single input (default: the input's file name)");
  app.add_flag("--bounds-only", options.boundsOnly,
               "write only each entry's bounds, with no collision, as the game's low-detail models have");
  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    const int status = app.exit(e);
    return status == 0 ? makecol::kWritten : makecol::kBadUsage;
  }
  return makecol::Run(options);
}
