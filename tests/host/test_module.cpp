// A plug-in module for the loader tests, built several times with different
// descriptors.  It reports what it was given through the host's messages:
// the activation reports its arguments, and shutdown its argument, through
// the global function kept from the last activation.
#include <cstddef>

#include "lwsdk/globals.h"
#include "lwsdk/messages.h"
#include "lwsdk/module.h"

#ifndef TEST_MODULE_SYNC
#define TEST_MODULE_SYNC MOD_SYSSYNC
#endif
#ifndef TEST_MODULE_VERSION
#define TEST_MODULE_VERSION MOD_SYSVER
#endif

namespace {

int g_startupToken = 0;
GlobalFunc g_global = nullptr;

void Report(const char* line1, const char* line2) {
  if (g_global == nullptr) return;
  auto* messages = static_cast<LWMessageFuncs*>(g_global(LWMESSAGEFUNCS_GLOBAL, GFUSE_TRANSIENT));
  if (messages != nullptr) messages->info(line1, line2);
}

void* LWCALL Startup() {
#ifdef TEST_MODULE_STARTUP_FAILS
  return nullptr;
#else
  return &g_startupToken;
#endif
}

void LWCALL Shutdown(void* serverData) {
  Report("shutdown", serverData == &g_startupToken ? "startup value" : "other value");
}

int LWCALL Activate(int version, GlobalFunc global, void* local, void* serverData) {
  g_global = global;
  const bool expected = version == 2 && local != nullptr && serverData == &g_startupToken;
  Report("activate", expected ? "version 2, a local, the startup value" : "unexpected arguments");
  return AFUNC_OK;
}

int LWCALL Refuse(int, GlobalFunc, void*, void*) { return AFUNC_BADAPP; }

ServerRecord g_servers[] = {
    {"LayoutGeneric", "Refusing command", &Refuse, nullptr},
    {"ImageLoader", "Export to DFF v0.1", &Refuse, nullptr},
    {"LayoutGeneric", "Export to DFF v0.1", &Activate, nullptr},
    {nullptr, nullptr, nullptr, nullptr},
};

}  // namespace

// Without the leading underscore, as a module that got the name wrong.
#ifdef TEST_MODULE_MISNAMED_DESCRIPTOR
#define TEST_MODULE_DESCRIPTOR mod_descrip
#else
#define TEST_MODULE_DESCRIPTOR _mod_descrip
#endif

extern "C" {
ModuleDescriptor TEST_MODULE_DESCRIPTOR = {
    TEST_MODULE_SYNC, TEST_MODULE_VERSION, MOD_MACHINE, &Startup, &Shutdown, g_servers,
};
}
