/*
 * The scene's objects: "LW Object Info 5" by item, with the mesh snapshot
 * of each, and "Scene Objects 4" by object number, with its layers and the
 * vertex maps of the whole scene.
 */
#ifndef VELMORA_LWSDK_OBJECT_INFO_H
#define VELMORA_LWSDK_OBJECT_INFO_H

#include "lwsdk/types.h"

#ifdef __cplusplus
extern "C" {
#endif

#define LWOBJECTINFO_GLOBAL "LW Object Info 5"

typedef struct st_LWObjectInfo {
  const char *(LWCALL *filename)(LWItemID object);
  int(LWCALL *numPoints)(LWItemID object);
  int(LWCALL *numPolygons)(LWItemID object);
  unsigned int(LWCALL *shadowOpts)(LWItemID object);
  double(LWCALL *dissolve)(LWItemID object, LWTime time);
  LWMeshInfoID(LWCALL *meshInfo)(LWItemID object, int frozen);
  LWUntypedFunc flags;
  LWUntypedFunc fog;
  LWUntypedFunc dispMap;
  LWUntypedFunc clipMap;
  LWUntypedFunc patchLevel;
  LWUntypedFunc metaballRes;
  LWUntypedFunc boneSource;
  LWUntypedFunc morphTarget;
  LWUntypedFunc morphAmount;
  LWUntypedFunc edgeOpts;
  LWUntypedFunc edgeColor;
  LWUntypedFunc subdivOrder;
  LWUntypedFunc polygonSize;
  LWUntypedFunc excluded;
  LWUntypedFunc matteColor;
  LWUntypedFunc thickness;
  LWUntypedFunc edgeZScale;
  LWUntypedFunc shrinkEdgesNominalDistance;
} LWObjectInfo;

#define LWOBJECTFUNCS_GLOBAL "Scene Objects 4"

typedef struct st_LWObjectFuncs {
  int(LWCALL *numObjects)(void);
  const char *(LWCALL *filename)(int object);
  int(LWCALL *maxLayers)(int object);
  int(LWCALL *layerExists)(int object, int layer);
  void(LWCALL *pivotPoint)(int object, int layer, LWFVector pivot);
  LWMeshInfoID(LWCALL *layerMesh)(int object, int layer);
  int(LWCALL *numVMaps)(LWID type);
  const char *(LWCALL *vmapName)(LWID type, int index);
  int(LWCALL *vmapDim)(LWID type, int index);
  LWID(LWCALL *vmapType)(int index);
  const char *(LWCALL *layerName)(int object, int layer);
  int(LWCALL *layerVis)(int object, int layer);
  const char *(LWCALL *userName)(int object);
  const char *(LWCALL *refName)(int object);
} LWObjectFuncs;

#ifdef __cplusplus
}
#endif

#endif /* VELMORA_LWSDK_OBJECT_INFO_H */
