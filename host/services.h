// The service tables the stand-in host serves by name.  Each is one static
// table whose functions work on the active host's state, the way Layout's
// tables serve Layout's one scene.
#pragma once

#include "lwsdk/file_request.h"
#include "lwsdk/images.h"
#include "lwsdk/item_info.h"
#include "lwsdk/messages.h"
#include "lwsdk/object_info.h"
#include "lwsdk/surfaces.h"
#include "lwsdk/textures.h"

namespace host {

LWMessageFuncs* MessageService();
LWItemInfo* ItemInfoService();
LWObjectInfo* ObjectInfoService();
LWObjectFuncs* SceneObjectsService();
LWSurfaceFuncs* SurfaceService();
LWTextureFuncs* TextureService();
LWImageList* ImageListService();
LWFileActivateFunc FileRequestService();
// The same requester, served as "File Request 3": it takes version 4.
LWFileActivateFunc FileRequest3Service();

}  // namespace host
