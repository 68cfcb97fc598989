// The module descriptor Layout reads when it loads velmora, and the one
// server it lists.
#include <cstdint>

#include "plugin/export_command.h"
#include "plugin/lw_host.h"

namespace {

void* LWCALL Startup() {
  // Layout needs a non-null value to count the start as a success; the
  // module keeps no data of its own.
  return reinterpret_cast<void*>(static_cast<std::uintptr_t>(4));
}

void LWCALL Shutdown(void*) {}

ServerRecord gServers[] = {
    {LWLAYOUTGENERIC_CLASS, plugin::kExportCommandName, plugin::ActivateExportCommand, nullptr},
    {nullptr, nullptr, nullptr, nullptr},
};

}  // namespace

extern "C" {

#if defined(_WIN32)
__declspec(dllexport)
#else
__attribute__((visibility("default")))
#endif
ModuleDescriptor _mod_descrip = {MOD_SYSSYNC, MOD_SYSVER, MOD_MACHINE, Startup, Shutdown, gServers};

}
