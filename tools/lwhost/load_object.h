// Game models loaded as objects through the object loaders of the import
// module (velmora_import), as Layout's and Modeler's Load Object load them:
// lwhost --load-object, and a DFF wherever lwhost takes an object file.
#pragma once

#include <functional>
#include <string>

#include "host/module_loader.h"
#include "lightwave/lwo2_object.h"
#include "tools/lwhost/options.h"

namespace host::lwhost {

// Loads the input through the module's loaders and writes the object as
// LWO2 to -o (else NAME.lwo beside the input).  Returns lwhost's exit
// status: 0 written, 1 refused (no loader reads it, the file is damaged or
// unreadable), 2 the object cannot be written.
int LoadObjectFile(const PluginModule& module, const Options& options);

// Reads an object file that is not a LightWave one through the module's
// loaders, printing their warnings, for host::LoadOptions::foreignObjects.
std::function<Lwo2Object(const std::string&)> ForeignObjectReader(const PluginModule& module);

}  // namespace host::lwhost
