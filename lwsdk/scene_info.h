/*
 * "LW Scene Info 4": the scene's name, file and render settings, a data
 * structure rather than a table of functions.
 */
#ifndef VELMORA_LWSDK_SCENE_INFO_H
#define VELMORA_LWSDK_SCENE_INFO_H

#include "lwsdk/types.h"

#ifdef __cplusplus
extern "C" {
#endif

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

#ifdef __cplusplus
}
#endif

#endif /* VELMORA_LWSDK_SCENE_INFO_H */
