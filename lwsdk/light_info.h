/*
 * "LW Light Info 3": a light's kind, colour and reach.
 */
#ifndef VELMORA_LWSDK_LIGHT_INFO_H
#define VELMORA_LWSDK_LIGHT_INFO_H

#include "lwsdk/types.h"

#ifdef __cplusplus
extern "C" {
#endif /* VELMORA_LWSDK_LIGHT_INFO_H */

#define LWLIGHTINFO_GLOBAL "LW Light Info 3"

#define LWLIGHT_DISTANT 0
#define LWLIGHT_POINT 1
#define LWLIGHT_SPOT 2
#define LWLIGHT_LINEAR 3
#define LWLIGHT_AREA 4

/* flags(): the light's intensity falls off with distance, and range() is
 * where it ends. */
#define LWLFL_LIMITED_RANGE (1u << 0)

#define LWLFALL_OFF 0
#define LWLFALL_LINEAR 1
#define LWLFALL_INV_DIST 2
#define LWLFALL_INV_DIST_2 3

typedef struct st_LWLightInfo {
  void(LWCALL *ambient)(LWTime time, LWDVector color);
  int(LWCALL *type)(LWItemID light);
  /* The light's colour times its intensity. */
  void(LWCALL *color)(LWItemID light, LWTime time, LWDVector color);
  LWUntypedFunc shadowType;
  LWUntypedFunc coneAngles;
  unsigned int(LWCALL *flags)(LWItemID light);
  double(LWCALL *range)(LWItemID light, LWTime time);
  int(LWCALL *falloff)(LWItemID light);
} LWLightInfo;

#ifdef __cplusplus
}
#endif /* VELMORA_LWSDK_LIGHT_INFO_H */

#endif /* VELMORA_LWSDK_LIGHT_INFO_H */
