// Loads a LightWave plug-in module the way Layout does, so that the real
// module file can be run against the stand-in host: open the library, read
// and check its `_mod_descrip`, call startup; run its generic commands; and
// on destruction call shutdown and unload it.
#pragma once

#include <memory>
#include <stdexcept>
#include <string>

#include "lwsdk/globals.h"
#include "lwsdk/module.h"

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

 private:
  class Library;

  std::string path_;
  std::unique_ptr<Library> library_;
  const ModuleDescriptor* descriptor_ = nullptr;
  void* serverData_ = nullptr;
};

}  // namespace host
