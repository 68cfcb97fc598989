// The module descriptor Layout reads when it loads velmora_import, and its
// two servers: the scene converter and the object loader that open game
// models.
#include "lwsdk/module.h"
#include "lwsdk/object_loader.h"
#include "lwsdk/scene_converter.h"
#include "plugin/dff_object_loader.h"
#include "plugin/dff_scene_converter.h"
#include "plugin/module_lifecycle.h"

namespace {

ServerRecord gServers[] = {
    {LWSCENECONVERTER_CLASS, plugin::kDffSceneConverterName, plugin::ActivateDffSceneConverter, nullptr},
    {LWOBJECTLOADER_CLASS, plugin::kDffObjectLoaderName, plugin::ActivateDffObjectLoader, nullptr},
    {nullptr, nullptr, nullptr, nullptr},
};

}  // namespace

extern "C" {

VELMORA_MODULE_EXPORT ModuleDescriptor _mod_descrip = {MOD_SYSSYNC, MOD_SYSVER, MOD_MACHINE, plugin::StartModule,
                                                         plugin::ShutDownModule, gServers};

}
