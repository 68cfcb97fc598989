/*
 * LightWave Layout host interface, as far as velmora and the stand-in host
 * use it.  Written from the documented binary layout of each structure; every
 * structure is laid out member for member as Layout lays it out, on 32-bit
 * and 64-bit Windows alike (natural alignment, no packing pragmas), so that a
 * module built from these declarations loads in real Layout.
 *
 * Pure C so that it can be compiled from C as well as C++.  Members we never
 * call are still declared, as untyped function pointers, because their slots
 * fix the offsets of the members after them.
 */
#ifndef VELMORA_PLUGIN_LW_HOST_H
#define VELMORA_PLUGIN_LW_HOST_H

#include <stddef.h>

#ifdef __cplusplus
extern "C" {
#endif

/* Every call across the host boundary uses the C calling convention. */
#if defined(_WIN32) && !defined(_WIN64)
#define LWCALL __cdecl
#else
#define LWCALL
#endif

/* ---- basic types -------------------------------------------------------- */

typedef unsigned int LWID;  /* four characters packed big-endian */
typedef int LWFrame;
typedef double LWTime;
typedef float LWFVector[3];
typedef double LWDVector[3];
typedef int LWCommandCode;
typedef const char *LWError;
typedef void (LWCALL *LWUntypedFunc)(void);

typedef struct st_LWItem *LWItemID;
typedef struct st_LWMeshInfo *LWMeshInfoID;
typedef struct st_LWPnt *LWPntID;
typedef struct st_LWPol *LWPolID;
typedef struct st_LWSurface *LWSurfaceID;
typedef struct st_LWTexture *LWTextureID;
typedef struct st_LWTLayer *LWTLayerID;
typedef struct st_LWImage *LWImageID;
typedef struct st_LWEnvelope *LWEnvelopeID;
typedef struct st_LWChanGroup *LWChanGroupID;

/* Unsigned arithmetic instead of casts, so that C++ code compiled with
 * -Wold-style-cast can use the identifiers too. */
#define LWID_(a, b, c, d) \
  ((a) * 0x1000000u + (b) * 0x10000u + (c) * 0x100u + (d) * 1u)

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

/* ---- module descriptor and servers -------------------------------------- */

#define MOD_SYSSYNC 0x04121994u
#define MOD_SYSVER 3u
#define MOD_MACHINE 0x300u

typedef struct st_ServerTagInfo {
  const char *string;
  unsigned int tag;
} ServerTagInfo;

typedef void *(LWCALL *GlobalFunc)(const char *serviceName, int useMode);
typedef int(LWCALL *ActivateFunc)(int version, GlobalFunc global, void *local,
                                  void *serverData);

typedef struct st_ServerRecord {
  const char *className;
  const char *name;
  ActivateFunc activate;
  const ServerTagInfo *tagInfo;
} ServerRecord;

typedef struct st_ModuleDescriptor {
  unsigned int sysSync;
  unsigned int sysVersion;
  unsigned int sysMachine;
  void *(LWCALL *startup)(void);
  void(LWCALL *shutdown)(void *serverData);
  ServerRecord *serverDefs;
} ModuleDescriptor;

#define GFUSE_TRANSIENT 0
#define GFUSE_ACQUIRE 1
#define GFUSE_RELEASE 2

#define AFUNC_OK 0
#define AFUNC_BADVERSION 1
#define AFUNC_BADGLOBAL 2
#define AFUNC_BADLOCAL 3
#define AFUNC_BADAPP 4

#define LWLAYOUTGENERIC_CLASS "LayoutGeneric"

/* The local data of a generic command; velmora never reads it. */
typedef struct st_LWLayoutGeneric {
  int(LWCALL *saveScene)(const char *file);
  int(LWCALL *loadScene)(const char *file, const char *displayName);
  void *data;
  LWCommandCode(LWCALL *lookup)(void *data, const char *commandName);
  LWUntypedFunc execute;
  int(LWCALL *evaluate)(void *data, const char *commandLine);
} LWLayoutGeneric;

/* ---- SceneConverter ----------------------------------------------------- */

#define LWSCENECONVERTER_CLASS "SceneConverter"
/* Version 1; version 2 (LightWave 2024 and later) has the same layout with
 * its strings in UTF-8. */
#define LWSCENECONVERTER_VERSION 1

/* Layout offers a file it cannot read as a scene to each converter.  One
 * that does not know the file leaves readFailure and tmpScene null; one that
 * does writes a LightWave scene, names it in tmpScene and sets deleteTmp,
 * which Layout calls with tmpScene once it has read it, or sets readFailure
 * when the file is its kind but cannot be read. */
typedef struct st_LWSceneConverter {
  const char *filename;
  LWError readFailure;
  const char *tmpScene;
  void(LWCALL *deleteTmp)(const char *tmpScene);
} LWSceneConverter;

/* ---- "Info Messages 2" -------------------------------------------------- */

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

/* ---- "LW Item Info 3" --------------------------------------------------- */

#define LWITEMINFO_GLOBAL "LW Item Info 3"

typedef int LWItemType;
#define LWI_OBJECT 0
#define LWI_LIGHT 1
#define LWI_CAMERA 2
#define LWI_BONE 3

typedef int LWItemParam;
#define LWIP_POSITION 1
#define LWIP_RIGHT 2
#define LWIP_UP 3
#define LWIP_FORWARD 4
#define LWIP_ROTATION 5
#define LWIP_SCALING 6
#define LWIP_PIVOT 7
#define LWIP_W_POSITION 8
#define LWIP_W_RIGHT 9
#define LWIP_W_UP 10
#define LWIP_W_FORWARD 11
#define LWIP_PIVOT_ROT 12

typedef struct st_LWItemInfo {
  LWItemID(LWCALL *first)(LWItemType type, LWItemID boneOwner);
  LWItemID(LWCALL *next)(LWItemID item);
  LWItemID(LWCALL *firstChild)(LWItemID parent);
  LWItemID(LWCALL *nextChild)(LWItemID parent, LWItemID prevChild);
  LWItemID(LWCALL *parent)(LWItemID item);
  LWItemID(LWCALL *target)(LWItemID item);
  LWItemID(LWCALL *goal)(LWItemID item);
  LWItemType(LWCALL *type)(LWItemID item);
  const char *(LWCALL *name)(LWItemID item);
  void(LWCALL *param)(LWItemID item, LWItemParam param, LWTime time, LWDVector vector);
  LWUntypedFunc limits;
  LWUntypedFunc getTag;
  LWUntypedFunc setTag;
  LWUntypedFunc chanGroup;
  LWUntypedFunc server;
  LWUntypedFunc serverFlags;
  LWUntypedFunc controller;
  LWUntypedFunc flags;
  LWUntypedFunc lookAhead;
  LWUntypedFunc goalStrength;
  LWUntypedFunc stiffness;
  LWUntypedFunc axisLocks;
} LWItemInfo;

/* ---- "LW Scene Info 4" (a data structure) ------------------------------- */

#define LWSCENEINFO_GLOBAL "LW Scene Info 4"

typedef struct st_LWSceneInfo {
  const char *name;
  const char *filename;
  int numPoints;
  int numPolygons;
  int renderType;
  int renderOpts;
  LWFrame frameStart;
  LWFrame frameEnd;
  LWFrame frameStep;
  double framesPerSecond;
  int frameWidth;
  int frameHeight;
  double pixelAspect;
  int minSamplesPerPixel;
  int maxSamplesPerPixel;
  int limitedRegion[4];
  int recursionDepth;
  LWItemID(LWCALL *renderCamera)(LWTime time);
  int numThreads;
  const char *animFilename;
  const char *RGBPrefix;
  const char *alphaPrefix;
  int antialiasing;
  int enhancedAA;
  int adaptiveSampling;
  float adaptiveThreshold;
  int filter;
} LWSceneInfo;

/* ---- mesh snapshot ------------------------------------------------------ */

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

/* ---- "LW Object Info 5" ------------------------------------------------- */

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

/* ---- "Scene Objects 4" -------------------------------------------------- */

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

/* ---- "Surface Functions 3" ---------------------------------------------- */

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

/* ---- "LW Image List 4" -------------------------------------------------- */

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

/* ---- "Texture Functions 3" ---------------------------------------------- */

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

/* ---- "File Request 2" --------------------------------------------------- */

#define LWFILEREQFUNC_GLOBAL "File Request 2"
#define LWFILEREQ_VERSION 3

/* Layout 2023 and later also serve the requester as "File Request 3": the
 * same function and record, with UTF-8 texts, called with version 4. */
#define LWFILEREQFUNC3_GLOBAL "File Request 3"
#define LWFILEREQ3_VERSION 4

#define FREQ_LOAD 1
#define FREQ_SAVE 2
#define FREQ_DIRECTORY 3
#define FREQ_MULTILOAD 4

typedef struct st_LWFileReqLocal {
  int reqType;
  int result;
  const char *title;
  const char *fileType;
  char *path;
  char *baseName;
  char *fullName;
  int bufLen;
  int(LWCALL *pickName)(void);
} LWFileReqLocal;

typedef int(LWCALL *LWFileActivateFunc)(int version, LWFileReqLocal *request);

/* ---- "LW Interface Info 4": obtained, never read ------------------------- */

#define LWINTERFACEINFO_GLOBAL "LW Interface Info 4"

#ifdef __cplusplus
}
#endif

#endif /* VELMORA_PLUGIN_LW_HOST_H */
