/*
 * Layout's basic types, as velmora and the stand-in host declare them: the
 * calling convention, the scalar and vector types, the opaque identifiers
 * and the four-character codes.  Every header of this folder is written
 * from the documented binary layout of Layout's structures and laid out
 * member for member as Layout lays them out, on 32-bit and 64-bit Windows
 * alike (natural alignment, no packing pragmas), so that a module built
 * from them loads in real Layout; layout_checks.c holds the offsets.
 *
 * Pure C so that it can be compiled from C as well as C++.  Members we never
 * call are still declared, as untyped function pointers, because their slots
 * fix the offsets of the members after them.
 */
#ifndef VELMORA_LWSDK_TYPES_H
#define VELMORA_LWSDK_TYPES_H

#ifdef __cplusplus
extern "C" {
#endif

/* Every call across the host boundary uses the C calling convention. */
#if defined(_WIN32) && !defined(_WIN64)
#define LWCALL __cdecl
#else
#define LWCALL
#endif

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

/* What an activation returns: a server's to Layout, and the file
 * requester's to the module. */
#define AFUNC_OK 0
#define AFUNC_BADVERSION 1
#define AFUNC_BADGLOBAL 2
#define AFUNC_BADLOCAL 3
#define AFUNC_BADAPP 4

/* Unsigned arithmetic instead of casts, so that C++ code compiled with
 * -Wold-style-cast can use the identifiers too. */
#define LWID_(a, b, c, d) \
  ((a) * 0x1000000u + (b) * 0x10000u + (c) * 0x100u + (d) * 1u)

#ifdef __cplusplus
}
#endif

#endif /* VELMORA_LWSDK_TYPES_H */
