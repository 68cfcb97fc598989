/*
 * "LW Image List 4": the scene's images and their files.
 */
#ifndef VELMORA_LWSDK_IMAGES_H
#define VELMORA_LWSDK_IMAGES_H

#include "lwsdk/types.h"

#ifdef __cplusplus
extern "C" {
#endif

#define LWIMAGELIST_GLOBAL "LW Image List 4"

typedef struct st_LWImageList {
  LWImageID(LWCALL *first)(void);
  LWImageID(LWCALL *next)(LWImageID image);
  LWImageID(LWCALL *load)(const char *filename);
  const char *(LWCALL *name)(LWImageID image);
  const char *(LWCALL *filename)(LWImageID image, LWFrame frame);
  int(LWCALL *isColor)(LWImageID image);
  LWUntypedFunc needAA;
  LWUntypedFunc size;
  LWUntypedFunc luma;
  LWUntypedFunc RGB;
  LWUntypedFunc lumaSpot;
  LWUntypedFunc RGBSpot;
  LWUntypedFunc clear;
  LWUntypedFunc sceneLoad;
  LWUntypedFunc sceneSave;
  LWUntypedFunc hasAlpha;
  LWUntypedFunc alpha;
  LWUntypedFunc alphaSpot;
  LWUntypedFunc evaluate;
  LWUntypedFunc changeEvent;
  LWUntypedFunc replace;
} LWImageList;

#ifdef __cplusplus
}
#endif

#endif /* VELMORA_LWSDK_IMAGES_H */
