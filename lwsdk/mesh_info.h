/*
 * The mesh snapshot of an object or layer: its points, polygons, polygon
 * tags and vertex maps.
 */
#ifndef VELMORA_LWSDK_MESH_INFO_H
#define VELMORA_LWSDK_MESH_INFO_H

#include <stddef.h>

#include "lwsdk/types.h"

#ifdef __cplusplus
extern "C" {
#endif

#define LWVMAP_TXUV LWID_('T', 'X', 'U', 'V')
#define LWVMAP_RGB LWID_('R', 'G', 'B', ' ')
#define LWVMAP_RGBA LWID_('R', 'G', 'B', 'A')
#define LWPTAG_SURF LWID_('S', 'U', 'R', 'F')
#define LWPOLTYPE_FACE LWID_('F', 'A', 'C', 'E')
#define LWPOLTYPE_CURV LWID_('C', 'U', 'R', 'V')
#define LWPOLTYPE_PTCH LWID_('P', 'T', 'C', 'H')
#define LWPOLTYPE_MBAL LWID_('M', 'B', 'A', 'L')
#define LWPOLTYPE_BONE LWID_('B', 'O', 'N', 'E')
#define LWPOLTYPE_SUBD LWID_('S', 'U', 'B', 'D')

/* Scan callbacks return a pointer-sized value: int on 32-bit hosts, size_t
 * on every 64-bit host, the same width on both. */
typedef size_t(LWCALL *LWPntScanFunc)(void *data, LWPntID point);
typedef size_t(LWCALL *LWPolScanFunc)(void *data, LWPolID polygon);

typedef struct st_LWMeshInfo {
  void *priv;
  void(LWCALL *destroy)(LWMeshInfoID mesh);
  int(LWCALL *numPoints)(LWMeshInfoID mesh);
  int(LWCALL *numPolygons)(LWMeshInfoID mesh);
  size_t(LWCALL *scanPoints)(LWMeshInfoID mesh, LWPntScanFunc func, void *data);
  size_t(LWCALL *scanPolys)(LWMeshInfoID mesh, LWPolScanFunc func, void *data);
  void(LWCALL *pntBasePos)(LWMeshInfoID mesh, LWPntID point, LWFVector pos);
  void(LWCALL *pntOtherPos)(LWMeshInfoID mesh, LWPntID point, LWFVector pos);
  void *(LWCALL *pntVLookup)(LWMeshInfoID mesh, LWID type, const char *name);
  int(LWCALL *pntVSelect)(LWMeshInfoID mesh, void *vmap);
  int(LWCALL *pntVGet)(LWMeshInfoID mesh, LWPntID point, float *values);
  LWID(LWCALL *polType)(LWMeshInfoID mesh, LWPolID polygon);
  int(LWCALL *polSize)(LWMeshInfoID mesh, LWPolID polygon);
  LWPntID(LWCALL *polVertex)(LWMeshInfoID mesh, LWPolID polygon, int vertex);
  const char *(LWCALL *polTag)(LWMeshInfoID mesh, LWPolID polygon, LWID tagType);
  int(LWCALL *pntVPGet)(LWMeshInfoID mesh, LWPntID point, LWPolID polygon, float *values);
  unsigned int(LWCALL *polFlags)(LWMeshInfoID mesh, LWPolID polygon);
  int(LWCALL *pntVIDGet)(LWMeshInfoID mesh, LWPntID point, float *values, void *vmap);
  int(LWCALL *pntVPIDGet)(LWMeshInfoID mesh, LWPntID point, LWPolID polygon,
                          float *values, void *vmap);
} LWMeshInfo;

#ifdef __cplusplus
}
#endif

#endif /* VELMORA_LWSDK_MESH_INFO_H */
