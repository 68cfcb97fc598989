/*
 * The global function: how a module asks the host for a service by name,
 * and for how long it keeps it.
 */
#ifndef VELMORA_LWSDK_GLOBALS_H
#define VELMORA_LWSDK_GLOBALS_H

#include "lwsdk/types.h"

#ifdef __cplusplus
extern "C" {
#endif

typedef void *(LWCALL *GlobalFunc)(const char *serviceName, int useMode);

#define GFUSE_TRANSIENT 0
#define GFUSE_ACQUIRE 1
#define GFUSE_RELEASE 2

/* "LW Interface Info 4": obtained, never read. */
#define LWINTERFACEINFO_GLOBAL "LW Interface Info 4"

#ifdef __cplusplus
}
#endif

#endif /* VELMORA_LWSDK_GLOBALS_H */
