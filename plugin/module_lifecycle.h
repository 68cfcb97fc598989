// The start and end of a module's life as Layout runs them; both modules
// keep no data of their own.
#pragma once

#include "lwsdk/types.h"

// Marks a module's descriptor for export: Layout finds it by its name.
#if defined(_WIN32)
#define VELMORA_MODULE_EXPORT __declspec(dllexport)
#else
#define VELMORA_MODULE_EXPORT __attribute__((visibility("default")))
#endif

namespace plugin {

// Layout needs a non-null value to count the start as a success.
void* LWCALL StartModule();
void LWCALL ShutDownModule(void* moduleData);

}  // namespace plugin
