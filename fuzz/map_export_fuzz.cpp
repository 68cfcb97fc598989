// The map command on any bytes: an LWO2 or LWO3 object read from them,
// loaded as a bare object into the stand-in host, and "Export map object to
// DFF" run on it through velmora_map's own descriptor, as Layout runs it:
// colour maps, collision and shadow items left out, the DFF and the TXD
// beside it.  The files go to a temporary folder, emptied after each run.
//
// The game's vertex limit is far beyond what a fuzzed object holds, so the
// split into parts is then run on each built mesh object with a limit taken
// from the input's size (3 to 34 vertices), and what it promises is checked:
// every part within the limit, every triangle in exactly one part.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "host/lightwave_files.h"
#include "host/lwo2_scene.h"
#include "host/module_loader.h"
#include "host/standin_host.h"
#include "lightwave/lwo_reader.h"
#include "lwsdk/file_request.h"
#include "lwsdk/generic.h"
#include "lwsdk/module.h"
#include "scene/dff_exporter.h"
#include "scene/host_services.h"
#include "scene/mesh_parts.h"

extern "C" ModuleDescriptor _mod_descrip;

namespace {
namespace fs = std::filesystem;

const ServerRecord& MapExportServer() {
  for (const ServerRecord* server = _mod_descrip.serverDefs; server->name != nullptr; ++server) {
    if (std::strcmp(server->className, LWLAYOUTGENERIC_CLASS) == 0 &&
        std::strcmp(server->name, "Export map object to DFF") == 0) {
      return *server;
    }
  }
  __builtin_trap();  // the module lost its command: no input can find anything
}

const fs::path& OutputFolder() {
  static const fs::path folder = [] {
    fs::path path = fs::temp_directory_path() / ("velmora-fuzz-map-" + std::to_string(getpid()));
    fs::create_directories(path);
    return path;
  }();
  return folder;
}

void RunMapExport(const host::Scene& scene) {
  host::StandInHost host(scene);
  host.SetFileResponder([](const host::FileRequest& request) -> std::optional<std::string> {
    if (request.reqType == FREQ_SAVE) return (OutputFolder() / "map.dff").string();
    return std::nullopt;
  });
  void* serverData = _mod_descrip.startup();
  LWLayoutGeneric local{};
  MapExportServer().activate(host::kLayoutGenericVersion, host.global(), &local, serverData);
  _mod_descrip.shutdown(serverData);
}

void CheckParts(const scene::MeshObject& whole, std::int32_t limit) {
  const std::vector<std::unique_ptr<scene::MeshObject>> parts = scene::SplitIntoParts(whole, limit);
  std::int32_t triangles = 0;
  for (const auto& part : parts) {
    if (part->vertexCount > limit || part->vertexCount <= 0) __builtin_trap();
    for (const std::int32_t vertex : part->cornerVertices) {
      if (vertex < 0 || vertex >= part->vertexCount) __builtin_trap();
    }
    triangles += part->triangleCount;
  }
  if (triangles != whole.triangleCount) __builtin_trap();
}

// The map command's model built again, its mesh objects split with `limit`.
void SplitBuiltMeshes(const host::Scene& scene, std::int32_t limit) {
  host::StandInHost host(scene);
  const scene::HostServices services = scene::AcquireHostServices(host.global());
  scene::DffExporter exporter(services.sceneInfo, services.objectInfo, services.sceneObjects,
                              services.surfaceFuncs, services.itemInfo, services.imageList,
                              services.textureFuncs, services.fileRequest);
  exporter.choices = scene::MapObjectChoices();
  exporter.sceneName = services.sceneInfo->name;
  exporter.BuildFrames();
  exporter.BuildAllGeometry();
  for (const auto& meshObject : exporter.meshObjects) {
    if (meshObject->triangleCount > 0) CheckParts(*meshObject, limit);
  }
  exporter.ReleaseAll();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::vector<std::uint8_t> bytes(data, data + size);
  try {
    const host::Scene scene =
        host::ObjectScene(host::ReadLwo(bytes, "fuzz.lwo"), "/nonexistent-velmora-fuzz/fuzz.lwo");
    RunMapExport(scene);
    SplitBuiltMeshes(scene, static_cast<std::int32_t>(3 + size % 32));
  } catch (const host::LoadError&) {
  }
  std::error_code ignored;
  for (const char* name : {"map.dff", "map.txd"}) fs::remove(OutputFolder() / name, ignored);
  return 0;
}
