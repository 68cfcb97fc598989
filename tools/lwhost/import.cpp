#include "tools/lwhost/import.h"

#include <cstdio>
#include <filesystem>

#include "dff_inspect/inspect.h"
#include "import/game_files.h"
#include "import_scene/lightwave_files.h"

namespace host::lwhost {
namespace {

namespace fs = std::filesystem;

constexpr int kWritten = 0;
constexpr int kRefused = 1;
constexpr int kUnreadable = 2;

void PrintWarnings(const std::vector<std::string>& warnings) {
  for (const std::string& warning : warnings) std::fprintf(stderr, "lwhost: warning: %s\n", warning.c_str());
}

// Reads `path` with `reader`; on failure prints why and sets `status`.
template <class T, class Reader>
std::optional<T> ReadPart(const std::string& path, Reader reader, int& status) {
  std::vector<std::uint8_t> bytes;
  std::string error;
  if (!dffinfo::ReadWholeFile(path, bytes, error)) {
    std::fprintf(stderr, "lwhost: %s\n", error.c_str());
    status = kUnreadable;
    return std::nullopt;
  }
  import::Read<T> read = reader(bytes, path);
  PrintWarnings(read.warnings);
  if (!read.value) {
    std::fprintf(stderr, "lwhost: %s\nlwhost: nothing was written.\n", read.error.c_str());
    status = kRefused;
  }
  return std::move(read.value);
}

std::optional<std::string> TxdPath(const Options& options, const fs::path& dff) {
  if (options.txd) return *options.txd;
  fs::path beside = dff;
  beside.replace_extension(".txd");
  if (fs::exists(beside)) return beside.string();
  std::fprintf(stderr,
               "lwhost: warning: no texture dictionary %s beside the model: the images are not written "
               "(name one with --txd)\n",
               beside.string().c_str());
  return std::nullopt;
}

// --col, else for a model without embedded collision the COL file beside
// it, where the map command writes it.
std::optional<std::string> ColPath(const Options& options, const fs::path& dff, const import::Model& model) {
  if (options.col) return *options.col;
  if (model.collision) return std::nullopt;
  fs::path beside = dff;
  beside.replace_extension(".col");
  if (fs::exists(beside)) return beside.string();
  return std::nullopt;
}

}  // namespace

int ImportModel(const Options& options) {
  const fs::path dff = options.inputs.at(0);
  int status = kWritten;
  std::optional<import::Model> model = ReadPart<import::Model>(dff.string(), import::ReadDff, status);
  if (!model) return status;
  if (const std::optional<std::string> txd = TxdPath(options, dff)) {
    auto textures = ReadPart<std::vector<import::Texture>>(*txd, import::ReadTxd, status);
    if (!textures) return status;
    model->textures = std::move(*textures);
  }
  if (const std::optional<std::string> col = ColPath(options, dff, *model)) {
    auto collision = ReadPart<import::Collision>(*col, import::ReadCol, status);
    if (!collision) return status;
    model->collision = std::move(*collision);
  }
  const std::string name = dff.stem().string();
  const import_scene::SceneFiles files = import_scene::ToLightWave(*model, name);
  PrintWarnings(files.warnings);
  const std::string folder = options.output ? *options.output : (dff.parent_path() / (name + "_lw")).string();
  if (std::string error = import_scene::WriteSceneFiles(files, folder); !error.empty()) {
    std::fprintf(stderr, "lwhost: %s\n", error.c_str());
    return kUnreadable;
  }
  std::printf("lwhost: %s imported into %s\n", dff.string().c_str(),
              (fs::path(folder) / files.sceneFileName).string().c_str());
  return kWritten;
}

}  // namespace host::lwhost
