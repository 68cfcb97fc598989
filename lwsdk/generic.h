/*
 * The LayoutGeneric server class: a command the user runs from Layout's
 * menus.
 */
#ifndef VELMORA_LWSDK_GENERIC_H
#define VELMORA_LWSDK_GENERIC_H

#include "lwsdk/types.h"

#ifdef __cplusplus
extern "C" {
#endif

#define LWLAYOUTGENERIC_CLASS "LayoutGeneric"

/* The local data of a generic command; velmora never reads it. */
typedef struct st_LWLayoutGeneric {
  int(LWCALL *saveScene)(const char *file);
  int(LWCALL *loadScene)(const char *file, const char *displayName);
  void *data;
  LWCommandCode(LWCALL *lookup)(void *data, const char *commandName);
  LWUntypedFunc execute;
  int(LWCALL *evaluate)(void *data, const char *commandLine);
} LWLayoutGeneric;

#ifdef __cplusplus
}
#endif

#endif /* VELMORA_LWSDK_GENERIC_H */
