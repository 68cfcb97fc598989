// The module descriptor Layout reads when it loads velmora_map, and the
// servers it lists: the map object and the map section commands.
#include "lwsdk/generic.h"
#include "lwsdk/module.h"
#include "plugin/map_export_command.h"
#include "plugin/module_lifecycle.h"
#include "plugin/section_export_command.h"

namespace {

ServerRecord gServers[] = {
    {LWLAYOUTGENERIC_CLASS, plugin::kMapExportCommandName, plugin::ActivateMapExportCommand, nullptr},
    {LWLAYOUTGENERIC_CLASS, plugin::kSectionExportCommandName, plugin::ActivateSectionExportCommand, nullptr},
    {nullptr, nullptr, nullptr, nullptr},
};

}  // namespace

extern "C" {

VELMORA_MODULE_EXPORT ModuleDescriptor _mod_descrip = {MOD_SYSSYNC, MOD_SYSVER, MOD_MACHINE, plugin::StartModule,
                                                         plugin::ShutDownModule, gServers};

}
