/*
 * The SceneConverter server class: a scene file Layout cannot read as its
 * own is offered to each converter, which writes it out as a LightWave
 * scene for Layout to load in its place.
 */
#ifndef VELMORA_LWSDK_SCENE_CONVERTER_H
#define VELMORA_LWSDK_SCENE_CONVERTER_H

#include "lwsdk/types.h"

#ifdef __cplusplus
extern "C" {
#endif

#define LWSCENECONVERTER_CLASS "SceneConverter"

/* A converter that does not know the file leaves the three outputs null. */
typedef struct st_LWSceneConverter {
  const char *filename;
  LWError readFailure;  /* set only for a file of its format that it cannot read */
  const char *tmpScene; /* the scene written in its place */
  void(LWCALL *deleteTmp)(const char *tmpScene); /* called once Layout has read it */
} LWSceneConverter;

#ifdef __cplusplus
}
#endif

#endif /* VELMORA_LWSDK_SCENE_CONVERTER_H */
