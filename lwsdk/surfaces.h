/*
 * "Surface Functions 3": the surfaces of the scene's objects and their
 * channels.
 */
#ifndef VELMORA_LWSDK_SURFACES_H
#define VELMORA_LWSDK_SURFACES_H

#include "lwsdk/types.h"

#ifdef __cplusplus
extern "C" {
#endif

#define LWSURFACEFUNCS_GLOBAL "Surface Functions 3"

#define SURF_COLR "BaseColor"
#define SURF_REFL "Reflectivity"
#define SURF_TRAN "Transparency"
#define SURF_GLOS "Glossiness"
#define SURF_RIMG "ReflectionImage"

typedef struct st_LWSurfaceFuncs {
  LWSurfaceID(LWCALL *create)(const char *objName, const char *surfName);
  LWSurfaceID(LWCALL *first)(void);
  LWSurfaceID(LWCALL *next)(LWSurfaceID surface);
  LWSurfaceID *(LWCALL *byName)(const char *name, const char *objName);
  LWSurfaceID *(LWCALL *byObject)(const char *objName);
  const char *(LWCALL *name)(LWSurfaceID surface);
  const char *(LWCALL *sceneObject)(LWSurfaceID surface);
  int(LWCALL *getInt)(LWSurfaceID surface, const char *channel);
  double *(LWCALL *getFlt)(LWSurfaceID surface, const char *channel);
  LWEnvelopeID(LWCALL *getEnv)(LWSurfaceID surface, const char *channel);
  LWTextureID(LWCALL *getTex)(LWSurfaceID surface, const char *channel);
  LWImageID(LWCALL *getImg)(LWSurfaceID surface, const char *channel);
  LWChanGroupID(LWCALL *chanGrp)(LWSurfaceID surface);
  const char *(LWCALL *getColorVMap)(LWSurfaceID surface);
  void(LWCALL *setColorVMap)(LWSurfaceID surface, const char *vmapName, int type);
} LWSurfaceFuncs;

#ifdef __cplusplus
}
#endif

#endif /* VELMORA_LWSDK_SURFACES_H */
