// "Export map object to DFF": the generic command that writes Layout's
// current scene as a map object's DFF, with the day and night colours the
// game lights map objects with.
#pragma once

#include "lwsdk/globals.h"

namespace plugin {

constexpr char kMapExportCommandName[] = "Export map object to DFF";

// The activation the host calls.  It uses only the global function and
// always returns AFUNC_OK: what happened is shown to the user instead.
int LWCALL ActivateMapExportCommand(int version, GlobalFunc global, void* local, void* serverData);

}  // namespace plugin
