/*
 * The byte offsets at which 32-bit and 64-bit Layout read and write the
 * host structures, written out as plain numbers for each target and checked
 * against this folder's declarations whenever this file is compiled: in the
 * Windows builds of the module and, with the 64-bit numbers that 64-bit
 * Linux shares, in the stand-in host's tests.  A declaration that drifts
 * (a member dropped, a type widened, a packing pragma, a double aligned to
 * 4 as 32-bit Linux would) stops the build of the very module that would
 * have misread Layout's tables.
 *
 * Plain C, so that the headers are proven to be C as well.
 */
#include <stddef.h>

#include "lwsdk/file_request.h"
#include "lwsdk/generic.h"
#include "lwsdk/images.h"
#include "lwsdk/item_info.h"
#include "lwsdk/mesh_info.h"
#include "lwsdk/messages.h"
#include "lwsdk/module.h"
#include "lwsdk/object_info.h"
#include "lwsdk/object_loader.h"
#include "lwsdk/scene_converter.h"
#include "lwsdk/scene_info.h"
#include "lwsdk/surfaces.h"
#include "lwsdk/textures.h"

#if defined(_WIN64) || (defined(__x86_64__) && !defined(_WIN32))
#define AT(type, member, win32, win64) \
  _Static_assert(offsetof(type, member) == (win64), #type "." #member " at " #win64)
#define SIZE(type, win32, win64) _Static_assert(sizeof(type) == (win64), "sizeof " #type)
#elif defined(_WIN32)
#define AT(type, member, win32, win64) \
  _Static_assert(offsetof(type, member) == (win32), #type "." #member " at " #win32)
#define SIZE(type, win32, win64) _Static_assert(sizeof(type) == (win32), "sizeof " #type)
#else
#error "the offsets below are those of Windows and 64-bit Linux; other targets lay doubles out otherwise"
#endif

/* Found by Layout in the export table and read field by field. */
AT(ModuleDescriptor, sysSync, 0, 0);
AT(ModuleDescriptor, sysVersion, 4, 4);
AT(ModuleDescriptor, sysMachine, 8, 8);
AT(ModuleDescriptor, startup, 12, 16);
AT(ModuleDescriptor, shutdown, 16, 24);
AT(ModuleDescriptor, serverDefs, 20, 32);
SIZE(ModuleDescriptor, 24, 40);

/* Layout walks the server list record by record, so the size matters. */
AT(ServerRecord, className, 0, 0);
AT(ServerRecord, name, 4, 8);
AT(ServerRecord, activate, 8, 16);
AT(ServerRecord, tagInfo, 12, 24);
SIZE(ServerRecord, 16, 32);
AT(ServerTagInfo, tag, 4, 8);
SIZE(ServerTagInfo, 8, 16);

AT(LWLayoutGeneric, saveScene, 0, 0);
AT(LWLayoutGeneric, data, 8, 16);
AT(LWLayoutGeneric, lookup, 12, 24);
AT(LWLayoutGeneric, evaluate, 20, 40);

/* Filled by the module, read and written by Layout's requester. */
AT(LWFileReqLocal, reqType, 0, 0);
AT(LWFileReqLocal, result, 4, 4);
AT(LWFileReqLocal, title, 8, 8);
AT(LWFileReqLocal, fileType, 12, 16);
AT(LWFileReqLocal, path, 16, 24);
AT(LWFileReqLocal, baseName, 20, 32);
AT(LWFileReqLocal, fullName, 24, 40);
AT(LWFileReqLocal, bufLen, 28, 48);
AT(LWFileReqLocal, pickName, 32, 56);
SIZE(LWFileReqLocal, 36, 64);

/* A data structure: the doubles sit on 8-byte boundaries on both targets. */
AT(LWSceneInfo, name, 0, 0);
AT(LWSceneInfo, filename, 4, 8);
AT(LWSceneInfo, numPoints, 8, 16);
AT(LWSceneInfo, numPolygons, 12, 20);
AT(LWSceneInfo, renderType, 16, 24);
AT(LWSceneInfo, renderOpts, 20, 28);
AT(LWSceneInfo, frameStart, 24, 32);
AT(LWSceneInfo, frameEnd, 28, 36);
AT(LWSceneInfo, frameStep, 32, 40);
AT(LWSceneInfo, framesPerSecond, 40, 48);
AT(LWSceneInfo, frameWidth, 48, 56);
AT(LWSceneInfo, frameHeight, 52, 60);
AT(LWSceneInfo, pixelAspect, 56, 64);
AT(LWSceneInfo, minSamplesPerPixel, 64, 72);
AT(LWSceneInfo, maxSamplesPerPixel, 68, 76);
AT(LWSceneInfo, limitedRegion, 72, 80);
AT(LWSceneInfo, recursionDepth, 88, 96);
AT(LWSceneInfo, renderCamera, 92, 104);
AT(LWSceneInfo, numThreads, 96, 112);
AT(LWSceneInfo, animFilename, 100, 120);
AT(LWSceneInfo, RGBPrefix, 104, 128);
AT(LWSceneInfo, alphaPrefix, 108, 136);
AT(LWSceneInfo, antialiasing, 112, 144);
AT(LWSceneInfo, enhancedAA, 116, 148);
AT(LWSceneInfo, adaptiveSampling, 120, 152);
AT(LWSceneInfo, adaptiveThreshold, 124, 156);
AT(LWSceneInfo, filter, 128, 160);

AT(LWMessageFuncs, info, 0, 0);
AT(LWMessageFuncs, error, 4, 8);

AT(LWItemInfo, first, 0, 0);
AT(LWItemInfo, next, 4, 8);
AT(LWItemInfo, parent, 16, 32);
AT(LWItemInfo, name, 32, 64);
AT(LWItemInfo, param, 36, 72);

AT(LWObjectInfo, filename, 0, 0);
AT(LWObjectInfo, numPolygons, 8, 16);
AT(LWObjectInfo, meshInfo, 20, 40);

/* Every slot of the mesh snapshot; the scan functions return size_t. */
AT(LWMeshInfo, priv, 0, 0);
AT(LWMeshInfo, destroy, 4, 8);
AT(LWMeshInfo, numPoints, 8, 16);
AT(LWMeshInfo, numPolygons, 12, 24);
AT(LWMeshInfo, scanPoints, 16, 32);
AT(LWMeshInfo, scanPolys, 20, 40);
AT(LWMeshInfo, pntBasePos, 24, 48);
AT(LWMeshInfo, pntOtherPos, 28, 56);
AT(LWMeshInfo, pntVLookup, 32, 64);
AT(LWMeshInfo, pntVSelect, 36, 72);
AT(LWMeshInfo, pntVGet, 40, 80);
AT(LWMeshInfo, polType, 44, 88);
AT(LWMeshInfo, polSize, 48, 96);
AT(LWMeshInfo, polVertex, 52, 104);
AT(LWMeshInfo, polTag, 56, 112);
AT(LWMeshInfo, pntVPGet, 60, 120);
AT(LWMeshInfo, polFlags, 64, 128);
AT(LWMeshInfo, pntVIDGet, 68, 136);
AT(LWMeshInfo, pntVPIDGet, 72, 144);
SIZE(LWMeshInfo, 76, 152);
_Static_assert(sizeof(size_t) == sizeof(void *), "scan results are pointer-sized");

AT(LWObjectFuncs, numVMaps, 24, 48);
AT(LWObjectFuncs, vmapName, 28, 56);

/* Slot 0 is create, not first. */
AT(LWSurfaceFuncs, create, 0, 0);
AT(LWSurfaceFuncs, byObject, 16, 32);
AT(LWSurfaceFuncs, name, 20, 40);
AT(LWSurfaceFuncs, getFlt, 32, 64);
AT(LWSurfaceFuncs, getTex, 40, 80);
AT(LWSurfaceFuncs, getImg, 44, 88);

/* Three context functions come first; setParam precedes getParam. */
AT(LWTextureFuncs, firstLayer, 48, 96);
AT(LWTextureFuncs, nextLayer, 56, 112);
AT(LWTextureFuncs, layerType, 68, 136);
AT(LWTextureFuncs, getParam, 84, 168);

AT(LWImageList, name, 12, 24);

/* Filled by Layout for an object loader; every slot a pointer but the two
 * ints. */
AT(LWObjectImport, result, 0, 0);
AT(LWObjectImport, filename, 4, 8);
AT(LWObjectImport, monitor, 8, 16);
AT(LWObjectImport, failedBuf, 12, 24);
AT(LWObjectImport, failedLen, 16, 32);
AT(LWObjectImport, data, 20, 40);
AT(LWObjectImport, done, 24, 48);
AT(LWObjectImport, layer, 28, 56);
AT(LWObjectImport, point, 44, 88);
AT(LWObjectImport, vmap, 48, 96);
AT(LWObjectImport, polygon, 56, 112);
AT(LWObjectImport, surface, 64, 128);
AT(LWObjectImport, vmapPDV, 68, 136);
AT(LWObjectImport, loadBitmap, 84, 168);
AT(LWObjectImport, switchLayer, 88, 176);
SIZE(LWObjectImport, 92, 184);
AT(LWMonitor, step, 8, 16);
SIZE(LWMonitor, 16, 32);

AT(LWSceneConverter, readFailure, 4, 8);
AT(LWSceneConverter, tmpScene, 8, 16);
AT(LWSceneConverter, deleteTmp, 12, 24);
SIZE(LWSceneConverter, 16, 32);
