// The module descriptor Layout reads when it loads velmora_map, and the one
// server it lists.
#include "lwsdk/generic.h"
#include "lwsdk/module.h"
#include "plugin/map_export_command.h"
#include "plugin/module_lifecycle.h"

namespace {

ServerRecord gServers[] = {
    {LWLAYOUTGENERIC_CLASS, plugin::kMapExportCommandName, plugin::ActivateMapExportCommand, nullptr},
    {nullptr, nullptr, nullptr, nullptr},
};

}  // namespace

extern "C" {

VELMORA_MODULE_EXPORT ModuleDescriptor _mod_descrip = {MOD_SYSSYNC, MOD_SYSVER, MOD_MACHINE, plugin::StartModule,
                                                         plugin::ShutDownModule, gServers};

}
