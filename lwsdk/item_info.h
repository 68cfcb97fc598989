/*
 * "LW Item Info 3": the scene's items, their hierarchy, names and motion.
 */
#ifndef VELMORA_LWSDK_ITEM_INFO_H
#define VELMORA_LWSDK_ITEM_INFO_H

#include "lwsdk/types.h"

#ifdef __cplusplus
extern "C" {
#endif

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

#ifdef __cplusplus
}
#endif

#endif /* VELMORA_LWSDK_ITEM_INFO_H */
