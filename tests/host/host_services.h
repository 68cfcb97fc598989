// The tables of a StandInHost, fetched through its global function exactly
// as a module fetches them.
#pragma once

#include <string>

#include "host/standin_host.h"
#include "lwsdk/file_request.h"
#include "lwsdk/globals.h"
#include "lwsdk/images.h"
#include "lwsdk/item_info.h"
#include "lwsdk/messages.h"
#include "lwsdk/object_info.h"
#include "lwsdk/scene_info.h"
#include "lwsdk/surfaces.h"
#include "lwsdk/textures.h"

namespace host::testing {

struct HostServices {
  explicit HostServices(StandInHost& host)
      : items(Get<LWItemInfo>(host, LWITEMINFO_GLOBAL)),
        objects(Get<LWObjectInfo>(host, LWOBJECTINFO_GLOBAL)),
        sceneObjects(Get<LWObjectFuncs>(host, LWOBJECTFUNCS_GLOBAL)),
        surfaces(Get<LWSurfaceFuncs>(host, LWSURFACEFUNCS_GLOBAL)),
        textures(Get<LWTextureFuncs>(host, LWTEXTUREFUNCS_GLOBAL)),
        images(Get<LWImageList>(host, LWIMAGELIST_GLOBAL)),
        messages(Get<LWMessageFuncs>(host, LWMESSAGEFUNCS_GLOBAL)),
        sceneInfo(Get<LWSceneInfo>(host, LWSCENEINFO_GLOBAL)),
        requestFile(reinterpret_cast<LWFileActivateFunc>(
            host.global()(LWFILEREQFUNC_GLOBAL, GFUSE_TRANSIENT))) {}

  template <typename Table>
  static Table* Get(StandInHost& host, const char* name) {
    return static_cast<Table*>(host.global()(name, GFUSE_TRANSIENT));
  }

  // The first item of `type` (bones of `owner`) with that name, by walking.
  LWItemID Find(LWItemType type, const std::string& name, LWItemID owner = nullptr) const {
    for (LWItemID item = items->first(type, owner); item; item = items->next(item)) {
      if (name == items->name(item)) return item;
    }
    return nullptr;
  }

  LWItemInfo* items;
  LWObjectInfo* objects;
  LWObjectFuncs* sceneObjects;
  LWSurfaceFuncs* surfaces;
  LWTextureFuncs* textures;
  LWImageList* images;
  LWMessageFuncs* messages;
  LWSceneInfo* sceneInfo;
  LWFileActivateFunc requestFile;
};

}  // namespace host::testing
