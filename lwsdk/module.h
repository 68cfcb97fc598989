/*
 * The module descriptor Layout finds in a module's export table, the server
 * records it lists, and the activation function each server gives.
 */
#ifndef VELMORA_LWSDK_MODULE_H
#define VELMORA_LWSDK_MODULE_H

#include "lwsdk/globals.h"
#include "lwsdk/types.h"

#ifdef __cplusplus
extern "C" {
#endif

#define MOD_SYSSYNC 0x04121994u
#define MOD_SYSVER 3u
#define MOD_MACHINE 0x300u

typedef struct st_ServerTagInfo {
  const char *string;
  unsigned int tag;
} ServerTagInfo;

typedef int(LWCALL *ActivateFunc)(int version, GlobalFunc global, void *local,
                                  void *serverData);

typedef struct st_ServerRecord {
  const char *className;
  const char *name;
  ActivateFunc activate;
  const ServerTagInfo *tagInfo;
} ServerRecord;

typedef struct st_ModuleDescriptor {
  unsigned int sysSync;
  unsigned int sysVersion;
  unsigned int sysMachine;
  void *(LWCALL *startup)(void);
  void(LWCALL *shutdown)(void *serverData);
  ServerRecord *serverDefs;
} ModuleDescriptor;

#ifdef __cplusplus
}
#endif

#endif /* VELMORA_LWSDK_MODULE_H */
