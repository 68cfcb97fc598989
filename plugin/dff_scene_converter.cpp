#include "plugin/dff_scene_converter.h"

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <utility>

#include "import/model_sniff.h"
#include "import_scene/model_files.h"
#include "lwsdk/scene_converter.h"
#include "platform/host_path.h"
#include "plugin/import_warnings.h"
#include "scene/file_request.h"
#include "scene/host_services.h"

namespace plugin {
namespace {

namespace fs = std::filesystem;

// Layout reads the strings it is handed after the activation returns.
std::string gSceneFile;
std::string gFailure;
// How the host's texts name files: UTF-8 from version 2, else the system's
// code page.
platform::TextEncoding gHostText = platform::TextEncoding::kNative;

void LWCALL DeleteScene(const char* scene) {
  std::error_code error;
  if (scene != nullptr) fs::remove(platform::PathFromHostText(scene, gHostText), error);
}

// Asks the user for the model's TXD through the host's file requester;
// empty when the host serves none, so the import goes on without textures.
// The requester speaks its own encoding; the conversion, UTF-8.
std::function<std::optional<std::string>()> TxdRequest(GlobalFunc global, const fs::path& dff) {
  if (global == nullptr) return {};
  const scene::FileRequester requester = scene::AcquireFileRequester(global);
  if (requester.request == nullptr) return {};
  return [requester, dff]() -> std::optional<std::string> {
    scene::FileChoice choice = scene::RequestTxdFile(requester.request, requester.version,
                                                     platform::HostTextFromPath(dff, requester.text));
    if (!choice.chosen) return std::nullopt;
    return platform::PathFromHostText(choice.path, requester.text).u8string();
  };
}

}  // namespace

int LWCALL ActivateDffSceneConverter(int version, GlobalFunc global, void* local, void* /*serverData*/) {
  if (version != 1 && version != 2) return AFUNC_BADVERSION;
  auto* converter = static_cast<LWSceneConverter*>(local);
  if (converter == nullptr) return AFUNC_BADLOCAL;
  converter->readFailure = nullptr;
  converter->tmpScene = nullptr;
  if (converter->filename == nullptr) return AFUNC_OK;
  gHostText = version >= 2 ? platform::TextEncoding::kUtf8 : platform::TextEncoding::kNative;
  const fs::path dff = platform::PathFromHostText(converter->filename, gHostText);
  if (import::LookAtFileStart(dff.u8string()) != import::FileStart::kModel) return AFUNC_OK;

  const std::string folder = (dff.parent_path() / (dff.stem().u8string() + "_lw")).u8string();
  const import_scene::ModelFiles files{dff.u8string(), {}, {}, TxdRequest(global, dff)};
  const import_scene::Conversion conversion = import_scene::ConvertModel(files, folder);
  ShowImportWarnings(global, conversion.warnings);
  if (conversion.outcome != import_scene::Conversion::Outcome::kWritten) {
    gFailure = conversion.error;
    converter->readFailure = gFailure.c_str();
    return AFUNC_OK;
  }
  gSceneFile = platform::HostTextFromPath(fs::u8path(conversion.scenePath), gHostText);
  converter->tmpScene = gSceneFile.c_str();
  converter->deleteTmp = DeleteScene;
  return AFUNC_OK;
}

}  // namespace plugin
