#include "plugin/host_services.h"

namespace plugin {
namespace {

template <typename Table>
void Acquire(GlobalFunc global, const char* name, Table& slot, std::string& missing) {
  void* service = global(name, GFUSE_TRANSIENT);
  slot = reinterpret_cast<Table>(service);
  if (service == nullptr && missing.empty()) missing = name;
}

}  // namespace

HostServices AcquireHostServices(GlobalFunc global) {
  HostServices s;
  std::string& missing = s.missingService;
  Acquire(global, LWMESSAGEFUNCS_GLOBAL, s.messages, missing);
  Acquire(global, LWITEMINFO_GLOBAL, s.itemInfo, missing);
  Acquire(global, LWSCENEINFO_GLOBAL, s.sceneInfo, missing);
  Acquire(global, LWOBJECTINFO_GLOBAL, s.objectInfo, missing);
  Acquire(global, LWOBJECTFUNCS_GLOBAL, s.sceneObjects, missing);
  Acquire(global, LWSURFACEFUNCS_GLOBAL, s.surfaceFuncs, missing);
  Acquire(global, LWINTERFACEINFO_GLOBAL, s.interfaceInfo, missing);
  Acquire(global, LWIMAGELIST_GLOBAL, s.imageList, missing);
  Acquire(global, LWTEXTUREFUNCS_GLOBAL, s.textureFuncs, missing);
  Acquire(global, LWFILEREQFUNC_GLOBAL, s.fileRequest, missing);
  return s;
}

}  // namespace plugin
