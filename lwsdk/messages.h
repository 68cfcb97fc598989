/*
 * "Info Messages 2": the host's message boxes.
 */
#ifndef VELMORA_LWSDK_MESSAGES_H
#define VELMORA_LWSDK_MESSAGES_H

#include "lwsdk/types.h"

#ifdef __cplusplus
extern "C" {
#endif

#define LWMESSAGEFUNCS_GLOBAL "Info Messages 2"

typedef struct st_LWMessageFuncs {
  void(LWCALL *info)(const char *line1, const char *line2);
  void(LWCALL *error)(const char *line1, const char *line2);
  void(LWCALL *warning)(const char *line1, const char *line2);
  int(LWCALL *okCancel)(const char *title, const char *line1, const char *line2);
  int(LWCALL *yesNo)(const char *title, const char *line1, const char *line2);
  int(LWCALL *yesNoCan)(const char *title, const char *line1, const char *line2);
  int(LWCALL *yesNoAll)(const char *title, const char *line1, const char *line2);
} LWMessageFuncs;

#ifdef __cplusplus
}
#endif

#endif /* VELMORA_LWSDK_MESSAGES_H */
