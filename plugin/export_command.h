// "Export to DFF v0.1": the generic command that writes Layout's current
// scene as one DFF clump.
#pragma once

#include "lwsdk/globals.h"

namespace plugin {

constexpr char kExportCommandName[] = "Export to DFF v0.1";

// The activation the host calls.  It uses only the global function and
// always returns AFUNC_OK: what went wrong is shown to the user instead.
int LWCALL ActivateExportCommand(int version, GlobalFunc global, void* local, void* serverData);

}  // namespace plugin
