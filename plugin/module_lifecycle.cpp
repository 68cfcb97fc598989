#include "plugin/module_lifecycle.h"

#include <cstdint>

namespace plugin {

void* LWCALL StartModule() { return reinterpret_cast<void*>(static_cast<std::uintptr_t>(4)); }

void LWCALL ShutDownModule(void*) {}

}  // namespace plugin
