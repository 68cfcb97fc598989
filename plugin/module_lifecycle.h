// The start and end of a module's life as Layout runs them; both modules
// keep no data of their own.
#pragma once

#include "plugin/lw_host.h"

namespace plugin {

// Layout needs a non-null value to count the start as a success.
void* LWCALL StartModule();
void LWCALL ShutDownModule(void* moduleData);

}  // namespace plugin
