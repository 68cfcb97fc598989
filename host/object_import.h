// Objects loaded through a module's object loaders, as Layout loads a file
// its own reader cannot read: each loader is offered the file in turn, and
// the one that takes it builds the object through the host's callbacks,
// here into the same record the host's LWO2 reader fills.
#pragma once

#include <string>
#include <vector>

#include "host/module_loader.h"
#include "lightwave/lwo2_object.h"
#include "lwsdk/object_loader.h"

namespace host {

struct ObjectLoadOptions {
  int version = LWOBJECTIMPORT_VERSION;  // the interface version offered
  LWMonitor* monitor = nullptr;
  int failedLength = 1024;  // the size of the buffer for the loader's failure text
};

struct ObjectLoad {
  // The result of the loader that took the file, else LWOBJIM_NOREC.
  int result = LWOBJIM_NOREC;
  std::string loader;   // that loader's server name
  std::string failure;  // the text it left in failedBuf
  // What its callbacks built: layers in the order it made them (a layer
  // number N of the loader is the LWO2 layer N - 1), surfaces as its
  // blocks describe them.  Empty unless the result is LWOBJIM_OK.
  Lwo2Object object;
  bool doneCalled = false;
  // The version argument of each surface call; none from a version 3 host.
  std::vector<unsigned int> surfaceVersions;
  // Calls Layout would not have survived, one line each: a callback before
  // any layer, an identifier of another layer or never handed out, a
  // surface block that cannot be read.
  std::vector<std::string> faults;
};

// Offers `path` to the module's object loaders in list order until one
// does not answer LWOBJIM_NOREC.  Throws ModuleError for a loader whose
// activation fails.
ObjectLoad LoadThroughObjectLoaders(const PluginModule& module, GlobalFunc global, const std::string& path,
                                    const ObjectLoadOptions& options = {});

// The object, or a LoadError that says why not: no loader took the file,
// or the one that did refused it or was stopped.
Lwo2Object LoadObjectThroughLoaders(const PluginModule& module, GlobalFunc global, const std::string& path);

}  // namespace host
