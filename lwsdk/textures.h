/*
 * "Texture Functions 3": the layers of a surface channel's texture and
 * their parameters.
 */
#ifndef VELMORA_LWSDK_TEXTURES_H
#define VELMORA_LWSDK_TEXTURES_H

#include "lwsdk/types.h"

#ifdef __cplusplus
extern "C" {
#endif

#define LWTEXTUREFUNCS_GLOBAL "Texture Functions 3"

#define TLT_IMAGE 0
#define TLT_PROC 1
#define TLT_GRAD 2
#define TXTAG_IMAGE 9

typedef struct st_LWTextureFuncs {
  LWUntypedFunc contextCreate;
  LWUntypedFunc contextDestroy;
  LWUntypedFunc contextAddParam;
  LWUntypedFunc create;
  LWUntypedFunc destroy;
  LWUntypedFunc copy;
  LWUntypedFunc newtime;
  LWUntypedFunc cleanup;
  LWUntypedFunc load;
  LWUntypedFunc save;
  LWUntypedFunc evaluate;
  LWUntypedFunc setEnvGroup;
  LWTLayerID(LWCALL *firstLayer)(LWTextureID texture);
  LWTLayerID(LWCALL *lastLayer)(LWTextureID texture);
  LWTLayerID(LWCALL *nextLayer)(LWTextureID texture, LWTLayerID layer);
  LWTLayerID(LWCALL *layerAdd)(LWTextureID texture, int layerType);
  void(LWCALL *layerSetType)(LWTLayerID layer, int layerType);
  int(LWCALL *layerType)(LWTLayerID layer);
  LWUntypedFunc layerEvaluate;
  LWUntypedFunc layerEnvGroup;
  int(LWCALL *setParam)(LWTLayerID layer, int tag, void *value);
  int(LWCALL *getParam)(LWTLayerID layer, int tag, void *value);
  LWUntypedFunc evaluateUV;
  LWUntypedFunc noise;
  LWUntypedFunc userData;
  LWUntypedFunc envGroup;
  LWTextureID(LWCALL *texture)(LWTLayerID layer);
  const char *(LWCALL *name)(LWTextureID texture);
  int(LWCALL *type)(LWTextureID texture);
  LWUntypedFunc context;
} LWTextureFuncs;

#ifdef __cplusplus
}
#endif

#endif /* VELMORA_LWSDK_TEXTURES_H */
