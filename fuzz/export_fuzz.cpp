// The whole export on any bytes: an LWO2 or LWO3 object read from them, loaded as
// a bare object into the stand-in host, and the module's export command
// run on it through the module's own descriptor, as Layout runs it.  The
// DFF goes to a temporary file, removed after each run.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <filesystem>
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

extern "C" ModuleDescriptor _mod_descrip;

namespace {

const ServerRecord& ExportServer() {
  for (const ServerRecord* server = _mod_descrip.serverDefs; server->name != nullptr; ++server) {
    if (std::strcmp(server->className, LWLAYOUTGENERIC_CLASS) == 0 &&
        std::strcmp(server->name, "Export to DFF v0.1") == 0) {
      return *server;
    }
  }
  __builtin_trap();  // the module lost its command: no input can find anything
}

const std::string& OutputPath() {
  static const std::string path = (std::filesystem::temp_directory_path() /
                                   ("velmora-fuzz-export-" + std::to_string(getpid()) + ".dff"))
                                      .string();
  return path;
}

void RunExport(host::Scene scene) {
  host::StandInHost host(std::move(scene));
  // The DFF is saved; the COL request is cancelled, so no COL is embedded.
  host.SetFileResponder([](const host::FileRequest& request) -> std::optional<std::string> {
    if (request.reqType == FREQ_SAVE) return OutputPath();
    return std::nullopt;
  });
  void* serverData = _mod_descrip.startup();
  LWLayoutGeneric local{};
  ExportServer().activate(host::kLayoutGenericVersion, host.global(), &local, serverData);
  _mod_descrip.shutdown(serverData);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::vector<std::uint8_t> bytes(data, data + size);
  try {
    RunExport(host::ObjectScene(host::ReadLwo(bytes, "fuzz.lwo"), "/nonexistent-velmora-fuzz/fuzz.lwo"));
  } catch (const host::LoadError&) {
  }
  std::error_code ignored;
  std::filesystem::remove(OutputPath(), ignored);
  return 0;
}
