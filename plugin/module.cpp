// The module descriptor Layout reads when it loads velmora, and the one
// server it lists.
#include "lwsdk/generic.h"
#include "lwsdk/module.h"
#include "plugin/export_command.h"
#include "plugin/module_lifecycle.h"

namespace {

ServerRecord gServers[] = {
    {LWLAYOUTGENERIC_CLASS, plugin::kExportCommandName, plugin::ActivateExportCommand, nullptr},
    {nullptr, nullptr, nullptr, nullptr},
};

}  // namespace

extern "C" {

VELMORA_MODULE_EXPORT ModuleDescriptor _mod_descrip = {MOD_SYSSYNC, MOD_SYSVER, MOD_MACHINE, plugin::StartModule,
                                                         plugin::ShutDownModule, gServers};

}
