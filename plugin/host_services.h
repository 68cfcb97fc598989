// The host services the export command works with, obtained once per
// activation through the host's global function.
#pragma once

#include <string>

#include "plugin/lw_host.h"

namespace plugin {

struct HostServices {
  const LWMessageFuncs* messages = nullptr;
  const LWItemInfo* itemInfo = nullptr;
  const LWSceneInfo* sceneInfo = nullptr;
  const LWObjectInfo* objectInfo = nullptr;
  const LWObjectFuncs* sceneObjects = nullptr;
  const LWSurfaceFuncs* surfaceFuncs = nullptr;
  const void* interfaceInfo = nullptr;  // asked for, never read
  const LWImageList* imageList = nullptr;
  const LWTextureFuncs* textureFuncs = nullptr;
  LWFileActivateFunc fileRequest = nullptr;

  // The name of the first service the host did not serve; empty when all
  // ten were served.
  std::string missingService;
};

// Asks for the ten services in the order Layout expects to be asked, each
// for transient use.  A service the host does not serve is left null and
// named in missingService; the others are still asked for.
HostServices AcquireHostServices(GlobalFunc global);

}  // namespace plugin
