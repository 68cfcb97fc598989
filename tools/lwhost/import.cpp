#include "tools/lwhost/import.h"

#include <cstdio>
#include <filesystem>
#include <optional>

#include "import_scene/model_files.h"
#include "platform/host_path.h"

namespace host::lwhost {
namespace {

namespace fs = std::filesystem;

constexpr int kWritten = 0;
constexpr int kRefused = 1;
constexpr int kUnreadable = 2;

// The import reads UTF-8 paths; the command line is in the system's code
// page.
fs::path ArgumentPath(const std::string& argument) {
  return platform::PathFromHostText(argument, platform::TextEncoding::kNative);
}

}  // namespace

int ImportModel(const Options& options) {
  const fs::path dff = ArgumentPath(options.inputs.at(0));
  const std::string folder = options.output ? ArgumentPath(*options.output).u8string()
                                            : (dff.parent_path() / (dff.stem().u8string() + "_lw")).u8string();
  const auto utf8 = [](const std::optional<std::string>& argument) -> std::optional<std::string> {
    if (!argument) return std::nullopt;
    return ArgumentPath(*argument).u8string();
  };
  // A program run from scripts asks no one: --txd names the dictionary.
  const import_scene::ModelFiles files{dff.u8string(), utf8(options.txd), utf8(options.col), {}};
  const import_scene::Conversion conversion = import_scene::ConvertModel(files, folder);
  for (const std::string& warning : conversion.warnings) std::fprintf(stderr, "lwhost: warning: %s\n", warning.c_str());
  using Outcome = import_scene::Conversion::Outcome;
  switch (conversion.outcome) {
    case Outcome::kWritten:
      std::printf("lwhost: %s imported into %s\n", dff.string().c_str(), conversion.scenePath.c_str());
      return kWritten;
    case Outcome::kRefused:
      std::fprintf(stderr, "lwhost: %s\nlwhost: nothing was written.\n", conversion.error.c_str());
      return kRefused;
    case Outcome::kUnreadable:
    case Outcome::kNotWritten:
      std::fprintf(stderr, "lwhost: %s\n", conversion.error.c_str());
      return kUnreadable;
  }
  return kUnreadable;
}

}  // namespace host::lwhost
