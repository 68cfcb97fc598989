#include "tools/lwhost/import.h"

#include <cstdio>
#include <filesystem>

#include "import_scene/model_files.h"

namespace host::lwhost {
namespace {

namespace fs = std::filesystem;

constexpr int kWritten = 0;
constexpr int kRefused = 1;
constexpr int kUnreadable = 2;

}  // namespace

int ImportModel(const Options& options) {
  const fs::path dff = options.inputs.at(0);
  const std::string folder =
      options.output ? *options.output : (dff.parent_path() / (dff.stem().string() + "_lw")).string();
  // A program run from scripts asks no one: --txd names the dictionary.
  const import_scene::ModelFiles files{dff.string(), options.txd, options.col, {}};
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
