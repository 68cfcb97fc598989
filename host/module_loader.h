// Loads a LightWave plug-in module the way Layout does, so that the real
// module file can be run against the stand-in host: open the library, read
// and check its `_mod_descrip`, call startup; run its generic commands; and
// on destruction call shutdown and unload it.
#pragma once

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "lwsdk/globals.h"
#include "lwsdk/module.h"
#include "lwsdk/scene_converter.h"
#include "lwsdk/object_loader.h"

namespace host {

// A module that cannot be loaded or run.  The message names the file, says
// what is wrong with it and, where there is something to do, what.
class ModuleError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The LayoutGeneric interface version the loader activates commands with:
// the one whose local the module's declarations describe.
constexpr int kLayoutGenericVersion = 2;
// LightWave 2024 and later ask for version 2: the same record with its
// strings in UTF-8.
constexpr int kSceneConverterVersion = 1;

// What a scene converter answered: the scene it wrote, or why the file
// it knows cannot be read; both empty when the file is not its kind.
struct SceneConversion {
  int result = AFUNC_OK;
  std::string tmpScene;
  std::string readFailure;
  void(LWCALL* deleteTmp)(const char* tmpScene) = nullptr;
};

class PluginModule {
 public:
  // Throws ModuleError when the file cannot be loaded, exports no
  // descriptor, carries a wrong sync word or system version, lacks startup,
  // shutdown or a server list, or its startup fails.
  explicit PluginModule(const std::string& path);
  ~PluginModule();
  PluginModule(const PluginModule&) = delete;
  PluginModule& operator=(const PluginModule&) = delete;

  const ModuleDescriptor& descriptor() const { return *descriptor_; }
  // What startup returned; handed to every activation and to shutdown.
  void* serverData() const { return serverData_; }

  // The server of that class and name; throws ModuleError naming the
  // servers the module does offer.
  const ServerRecord& FindServer(const std::string& className, const std::string& name) const;

  // Runs a generic command as Layout does when the user picks it, and
  // answers the activation's result.  The stand-in host runs no Layout
  // commands, so the generic local's functions are null.
  int RunGeneric(const std::string& serverName, GlobalFunc global) const;

  // The names of the module's servers of a class, in list order.
  std::vector<std::string> ServerNames(const std::string& className) const;

  // Offers the file `local` names to an object loader at interface
  // `version`, as Layout's Load Object does; answers the activation's
  // result, the loader's in local.result.
  int RunObjectLoader(const std::string& serverName, int version, GlobalFunc global, LWObjectImport& local) const;

  // Offers `filename` to a scene converter as Layout's Load Scene does;
  // the caller calls deleteTmp once it has read the scene, as Layout does.
  SceneConversion RunSceneConverter(const std::string& serverName, GlobalFunc global,
                                    const std::string& filename) const;

 private:
  class Library;

  std::string path_;
  std::unique_ptr<Library> library_;
  const ModuleDescriptor* descriptor_ = nullptr;
  void* serverData_ = nullptr;
};

}  // namespace host
