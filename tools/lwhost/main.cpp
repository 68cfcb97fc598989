// lwhost: loads LightWave scene or object files into the stand-in host and
// runs the velmora plug-in's export command on each, as Layout would.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#if defined(_WIN32)
#include <windows.h>
#else
#include <unistd.h>
#endif

#include "host/lightwave_files.h"
#include "host/module_loader.h"
#include "host/standin_host.h"
#include "tools/lwhost/answers.h"
#include "tools/lwhost/import.h"
#include "tools/lwhost/load_object.h"
#include "tools/lwhost/module_search.h"
#include "tools/lwhost/options.h"
#include "tools/lwhost/txd.h"

namespace host::lwhost {
namespace {
namespace fs = std::filesystem;

constexpr int kExported = 0;
constexpr int kNotExported = 1;
constexpr int kCannotLoad = 2;

#if defined(_WIN32)
constexpr char kModuleFileName[] = "velmora.dll";
constexpr char kMapModuleFileName[] = "velmora_map.dll";
constexpr char kImportModuleFileName[] = "velmora_import.dll";
#else
constexpr char kModuleFileName[] = "velmora.so";
constexpr char kMapModuleFileName[] = "velmora_map.so";
constexpr char kImportModuleFileName[] = "velmora_import.so";
#endif
constexpr char kExportCommand[] = "Export to DFF v0.1";
constexpr char kMapExportCommand[] = "Export map object to DFF";
constexpr char kSectionExportCommand[] = "Export map section";
// How the section command learns --first-id: Layout users set the same.
constexpr char kFirstIdVariable[] = "VELMORA_SECTION_FIRST_ID";
// How the section command learns --make-lods: in Layout it builds LOD
// models unless this is "0", lwhost only when asked.
constexpr char kMakeLodsVariable[] = "VELMORA_SECTION_MAKE_LODS";

fs::path ExecutableDirectory() {
#if defined(_WIN32)
  wchar_t buffer[32768];
  const DWORD length = GetModuleFileNameW(nullptr, buffer, 32768);
  return fs::path(std::wstring(buffer, length)).parent_path();
#else
  std::error_code ec;
  const fs::path self = fs::read_symlink("/proc/self/exe", ec);
  return ec ? fs::current_path() : self.parent_path();
#endif
}

// The module named with --module, else the first FindModule finds; nullopt,
// with the places looked at printed, when there is none.
std::optional<std::string> ModulePath(const Options& options) {
  if (options.module) return *options.module;
  const fs::path programDirectory = ExecutableDirectory();
  const char* const fileName = options.loadObject             ? kImportModuleFileName
                               : options.map || options.section ? kMapModuleFileName
                                                                : kModuleFileName;
  if (const auto found = FindModule(programDirectory, fileName)) return found->string();
  std::fprintf(stderr, "lwhost: the plug-in module %s is in none of the places lwhost looks:\n", fileName);
  for (const fs::path& place : ModuleCandidates(programDirectory, fileName)) {
    std::fprintf(stderr, "  %s\n", place.string().c_str());
  }
  std::fprintf(stderr, "Reinstall velmora, or name the module with --module PATH.\n");
  return std::nullopt;
}

// The first command ends a success with "Export successful", the map
// command with its summary; an error means the export failed.
bool ExportSucceeded(const StandInHost& host, bool map) {
  bool success = false;
  for (const Message& message : host.messages()) {
    if (message.kind == MessageKind::kError) return false;
    if (message.kind == MessageKind::kInfo && (map || message.line1 == "Export successful")) success = true;
  }
  return success;
}

const char* CommandName(const Options& options) {
  if (options.section) return kSectionExportCommand;
  return options.map ? kMapExportCommand : kExportCommand;
}

void SetVariable(const char* variable, const std::string& value) {
#if defined(_WIN32)
  _putenv_s(variable, value.c_str());
#else
  setenv(variable, value.c_str(), 1);
#endif
}

// The import module, whose object loader reads the DFFs an export meets:
// loaded at the first one, from beside lwhost or the installed modules.
class ObjectLoaders {
 public:
  Lwo2Object Load(const std::string& path) {
    if (!module_) {
      const auto found = FindModule(ExecutableDirectory(), kImportModuleFileName);
      if (!found) {
        throw LoadError(path + ": not a LightWave object, and the import module " + kImportModuleFileName +
                        ", whose object loader reads game models, is in none of the places lwhost looks");
      }
      module_ = std::make_unique<PluginModule>(found->string());
    }
    return ForeignObjectReader(*module_)(path);
  }

 private:
  std::unique_ptr<PluginModule> module_;
};

int ExportOne(const PluginModule& module, ObjectLoaders& loaders, const Options& options,
              const std::string& input, bool interactive) {
  Scene scene;
  try {
    const LoadOptions load{options.contentDirectory, [&loaders](const std::string& path) { return loaders.Load(path); }};
    scene = LoadSceneFile(input, load);
  } catch (const LoadError& error) {
    std::fprintf(stderr, "lwhost: %s\n", error.what());
    return kCannotLoad;
  }
  for (const std::string& warning : scene.warnings) std::fprintf(stderr, "lwhost: warning: %s\n", warning.c_str());
  // Taken before the host owns the scene; the export itself may not need it.
  std::optional<txdbuild::ImageSearch> images;
  if (options.txd) {
    images.emplace(SceneImagePlaces(scene, input, options.contentDirectory, options.imageFolders));
  }
  StandInHost host(std::move(scene));
  RequestAnswers answers(options, input, interactive);
  host.SetFileResponder([&answers](const FileRequest& request) { return answers.Answer(request); });
  module.RunGeneric(CommandName(options), host.global());
  for (const Message& message : host.messages()) PrintMessage(message);
  if (ExportSucceeded(host, options.map || options.section)) {
    if (!options.txd) return kExported;
    return BuildSceneTxd(*images, options.verbose, answers.savedPath(), *options.txd) ? kExported : kNotExported;
  }
  if (!host.fileRequests().empty() && !answers.saveAnswered() && host.messages().empty()) {
    std::fprintf(stderr, "lwhost: the export of %s was cancelled.\n", input.c_str());
  }
  return kNotExported;
}

int Run(int argc, char** argv) {
  Options options;
  if (const auto status = ParseOptions(argc, argv, options)) return *status;
  if (options.import) return ImportModel(options);
  if (options.firstId) SetVariable(kFirstIdVariable, std::to_string(*options.firstId));
  if (options.section) SetVariable(kMakeLodsVariable, options.makeLods ? "1" : "0");
  const std::optional<std::string> modulePath = ModulePath(options);
  if (!modulePath) return kCannotLoad;
  try {
    PluginModule module(*modulePath);
    if (options.loadObject) return LoadObjectFile(module, options);
    ObjectLoaders loaders;
    const bool interactive = StandardInputIsTerminal();
    int status = kExported;
    for (const std::string& input : options.inputs) {
      status = std::max(status, ExportOne(module, loaders, options, input, interactive));
    }
    return status;
  } catch (const ModuleError& error) {
    std::fprintf(stderr, "lwhost: %s\n", error.what());
    return kCannotLoad;
  }
}

}  // namespace
}  // namespace host::lwhost

int main(int argc, char** argv) { return host::lwhost::Run(argc, argv); }
