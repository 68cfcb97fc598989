/*
 * Pins the offsets of the host structures that Layout reads from the module
 * or the module reads from Layout.  Written in terms of the pointer size P,
 * so that the same assertions hold for the 32-bit (P = 4) and 64-bit
 * (P = 8) Windows builds and for this build.  Compiled as C, to prove that
 * plugin/lw_host.h is plain C.
 *
 * The 32-bit Windows ABI aligns a double inside a structure to 8 bytes;
 * 32-bit Linux aligns it to 4 and so fails the LWSceneInfo assertions, as
 * it should: it cannot build a module Layout loads.
 */
#include <stddef.h>

#include "plugin/lw_host.h"

#define P sizeof(void *)
/* The first multiple of the pointer size at or after `offset`. */
#define POINTER_ALIGNED(offset) (((offset) + P - 1) / P * P)

#define AT(type, member, offset) \
  _Static_assert(offsetof(type, member) == (offset), #type "." #member " is at " #offset)
/* For tables made only of pointers. */
#define SLOT(type, member, slot) AT(type, member, (slot) * P)
#define SIZE(type, size) _Static_assert(sizeof(type) == (size), "sizeof " #type " is " #size)

/* The module descriptor: three 32-bit words, then three pointers. */
AT(ModuleDescriptor, sysVersion, 4);
AT(ModuleDescriptor, sysMachine, 8);
AT(ModuleDescriptor, startup, POINTER_ALIGNED(12));
AT(ModuleDescriptor, shutdown, POINTER_ALIGNED(12) + P);
AT(ModuleDescriptor, serverDefs, POINTER_ALIGNED(12) + 2 * P);
SIZE(ModuleDescriptor, POINTER_ALIGNED(12) + 3 * P);

SLOT(ServerRecord, name, 1);
SLOT(ServerRecord, activate, 2);
SLOT(ServerRecord, tagInfo, 3);
SIZE(ServerRecord, 4 * P);
SLOT(ServerTagInfo, tag, 1);
SIZE(ServerTagInfo, 2 * P);

SLOT(LWLayoutGeneric, data, 2);
SLOT(LWLayoutGeneric, evaluate, 5);

/* Two ints, then pointers, an int, and a pointer aligned after it. */
AT(LWFileReqLocal, result, 4);
AT(LWFileReqLocal, title, 8);
AT(LWFileReqLocal, fileType, 2 * 4 + P);
AT(LWFileReqLocal, path, 2 * 4 + 2 * P);
AT(LWFileReqLocal, baseName, 2 * 4 + 3 * P);
AT(LWFileReqLocal, fullName, 2 * 4 + 4 * P);
AT(LWFileReqLocal, bufLen, 2 * 4 + 5 * P);
AT(LWFileReqLocal, pickName, 2 * 4 + 6 * P);
SIZE(LWFileReqLocal, 2 * 4 + 7 * P);

/* Two texts, seven ints, then a double on an 8-byte boundary. */
AT(LWSceneInfo, filename, P);
AT(LWSceneInfo, numPoints, 2 * P);
AT(LWSceneInfo, numPolygons, 2 * P + 4);
AT(LWSceneInfo, framesPerSecond, 2 * P + 32);
AT(LWSceneInfo, pixelAspect, 2 * P + 48);

SLOT(LWMessageFuncs, info, 0);
SLOT(LWMessageFuncs, error, 1);
SIZE(LWMessageFuncs, 7 * P);

SLOT(LWItemInfo, next, 1);
SLOT(LWItemInfo, parent, 4);
SLOT(LWItemInfo, name, 8);
SLOT(LWItemInfo, param, 9);
SIZE(LWItemInfo, 22 * P);

SLOT(LWObjectInfo, filename, 0);
SLOT(LWObjectInfo, numPolygons, 2);
SLOT(LWObjectInfo, meshInfo, 5);
SIZE(LWObjectInfo, 24 * P);

SLOT(LWMeshInfo, destroy, 1);
SLOT(LWMeshInfo, numPoints, 2);
SLOT(LWMeshInfo, scanPoints, 4);
SLOT(LWMeshInfo, scanPolys, 5);
SLOT(LWMeshInfo, pntBasePos, 6);
SLOT(LWMeshInfo, pntVLookup, 8);
SLOT(LWMeshInfo, pntVSelect, 9);
SLOT(LWMeshInfo, pntVGet, 10);
SLOT(LWMeshInfo, polVertex, 13);
SLOT(LWMeshInfo, polTag, 14);
SLOT(LWMeshInfo, pntVPGet, 15);
SLOT(LWMeshInfo, pntVPIDGet, 18);
SIZE(LWMeshInfo, 19 * P);
/* Scan results are pointer-sized on every host. */
_Static_assert(sizeof(size_t) == P, "size_t is pointer-sized");

SLOT(LWObjectFuncs, numVMaps, 6);
SLOT(LWObjectFuncs, vmapName, 7);
SIZE(LWObjectFuncs, 14 * P);

SLOT(LWSurfaceFuncs, first, 1);
SLOT(LWSurfaceFuncs, byObject, 4);
SLOT(LWSurfaceFuncs, name, 5);
SLOT(LWSurfaceFuncs, getFlt, 8);
SLOT(LWSurfaceFuncs, getTex, 10);
SLOT(LWSurfaceFuncs, getImg, 11);
SIZE(LWSurfaceFuncs, 15 * P);

SLOT(LWImageList, name, 3);
SIZE(LWImageList, 21 * P);

SLOT(LWTextureFuncs, firstLayer, 12);
SLOT(LWTextureFuncs, nextLayer, 14);
SLOT(LWTextureFuncs, layerType, 17);
SLOT(LWTextureFuncs, getParam, 21);
SLOT(LWTextureFuncs, texture, 26);
SIZE(LWTextureFuncs, 30 * P);

/* The numbers that cross the boundary. */
_Static_assert(MOD_SYSSYNC == 0x04121994u && MOD_SYSVER == 3u && MOD_MACHINE == 0x300u,
               "module descriptor constants");
_Static_assert(LWVMAP_TXUV == 0x54585556u && LWPTAG_SURF == 0x53555246u &&
                   LWPOLTYPE_FACE == 0x46414345u,
               "four-character identifiers pack big-endian");
_Static_assert(TXTAG_IMAGE == 9 && TLT_IMAGE == 0 && LWFILEREQ_VERSION == 3,
               "texture and file request constants");
