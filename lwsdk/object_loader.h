/*
 * The ObjectLoader server class: Layout hands a file its own reader cannot
 * read to each loader in turn, and the loader that knows the format builds
 * the object through the callbacks of the record below.
 */
#ifndef VELMORA_LWSDK_OBJECT_LOADER_H
#define VELMORA_LWSDK_OBJECT_LOADER_H

#include "lwsdk/types.h"

#ifdef __cplusplus
extern "C" {
#endif

#define LWOBJECTLOADER_CLASS "ObjectLoader"
/* Version 3 hosts take the surface of five arguments; 4 adds its sixth;
 * 5 types every string as UTF-8. */
#define LWOBJECTIMPORT_VERSION 5

/* What the loader sets in `result` before it calls `done`. */
#define LWOBJIM_OK 0
#define LWOBJIM_NOREC 1 /* not this loader's format: the next one is tried */
#define LWOBJIM_BADFILE 2
#define LWOBJIM_ABORTED 3
#define LWOBJIM_FAILED 99

/* Progress of a long load; a non-zero step means the user aborted. */
typedef struct st_LWMonitor {
  void *data;
  void(LWCALL *init)(void *data, unsigned int total);
  int(LWCALL *step)(void *data, unsigned int increment);
  void(LWCALL *done)(void *data);
} LWMonitor;

/* `surface` as hosts of version 3 call it, and from version 4 on. */
typedef void(LWCALL *LWObjectSurfaceFunc3)(void *data, const char *name, const char *refName, int size,
                                           void *block);
typedef void(LWCALL *LWObjectSurfaceFunc4)(void *data, const char *name, const char *refName, int size,
                                           void *block, unsigned int version);

/* Slots up to vmapPDV exist from version 3 on; the five after it come with
 * later hosts and are read only from version 4.  `surface` takes a sixth
 * argument, an unsigned version, from version 4; its block is a run of
 * LWO2 surface sub-chunks in big-endian order. */
typedef struct st_LWObjectImport {
  int result;
  const char *filename;
  LWMonitor *monitor; /* may be null */
  char *failedBuf;
  int failedLen;
  void *data;
  void(LWCALL *done)(void *data);
  void(LWCALL *layer)(void *data, int layerNumber, const char *name);
  void(LWCALL *pivot)(void *data, const LWFVector pivot);
  void(LWCALL *parent)(void *data, int layerNumber);
  void(LWCALL *lFlags)(void *data, int flags);
  LWPntID(LWCALL *point)(void *data, const LWFVector position);
  void(LWCALL *vmap)(void *data, LWID type, int dimension, const char *name);
  void(LWCALL *vmapVal)(void *data, LWPntID point, const float *values);
  LWPolID(LWCALL *polygon)(void *data, LWID type, int flags, int vertexCount,
                           const LWPntID *vertices);
  void(LWCALL *polTag)(void *data, LWPolID polygon, LWID tagType, const char *tag);
  LWUntypedFunc surface;
  void(LWCALL *vmapPDV)(void *data, LWPntID point, LWPolID polygon, const float *values);
  void(LWCALL *vmapsubp)(void *data, unsigned int interpolation);
  void(LWCALL *vmapskco)(void *data, unsigned int sketchColor);
  void *(LWCALL *curVmap)(void *data);
  LWImageID(LWCALL *loadBitmap)(const char *path);
  int(LWCALL *switchLayer)(void *data, int layerNumber);
} LWObjectImport;

#ifdef __cplusplus
}
#endif

#endif /* VELMORA_LWSDK_OBJECT_LOADER_H */
