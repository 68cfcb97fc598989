#include "plugin/dff_scene_converter.h"

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <utility>

#include "import/model_sniff.h"
#include "import_scene/model_files.h"
#include "lwsdk/scene_converter.h"
#include "plugin/import_warnings.h"
#include "scene/file_request.h"
#include "scene/host_services.h"

namespace plugin {
namespace {

namespace fs = std::filesystem;

// Layout reads the strings it is handed after the activation returns.
std::string gSceneFile;
std::string gFailure;

void LWCALL DeleteScene(const char* scene) {
  std::error_code error;
  if (scene != nullptr) fs::remove(fs::u8path(scene), error);
}

// Asks the user for the model's TXD through the host's file requester;
// empty when the host serves none, so the import goes on without textures.
std::function<std::optional<std::string>()> TxdRequest(GlobalFunc global, const std::string& dffPath) {
  if (global == nullptr) return {};
  const scene::FileRequester requester = scene::AcquireFileRequester(global);
  if (requester.request == nullptr) return {};
  return [requester, dffPath]() -> std::optional<std::string> {
    scene::FileChoice choice = scene::RequestTxdFile(requester.request, requester.version, dffPath);
    if (!choice.chosen) return std::nullopt;
    return std::move(choice.path);
  };
}

}  // namespace

int LWCALL ActivateDffSceneConverter(int version, GlobalFunc global, void* local, void* /*serverData*/) {
  if (version != 1 && version != 2) return AFUNC_BADVERSION;
  auto* converter = static_cast<LWSceneConverter*>(local);
  if (converter == nullptr) return AFUNC_BADLOCAL;
  converter->readFailure = nullptr;
  converter->tmpScene = nullptr;
  if (converter->filename == nullptr || import::LookAtFileStart(converter->filename) != import::FileStart::kModel) return AFUNC_OK;

  const fs::path dff = fs::u8path(converter->filename);
  const std::string folder = (dff.parent_path() / (dff.stem().u8string() + "_lw")).u8string();
  const import_scene::ModelFiles files{converter->filename, {}, {}, TxdRequest(global, converter->filename)};
  const import_scene::Conversion conversion = import_scene::ConvertModel(files, folder);
  ShowImportWarnings(global, conversion.warnings);
  if (conversion.outcome != import_scene::Conversion::Outcome::kWritten) {
    gFailure = conversion.error;
    converter->readFailure = gFailure.c_str();
    return AFUNC_OK;
  }
  gSceneFile = conversion.scenePath;
  converter->tmpScene = gSceneFile.c_str();
  converter->deleteTmp = DeleteScene;
  return AFUNC_OK;
}

}  // namespace plugin
