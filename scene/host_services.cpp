#include "scene/host_services.h"

#include <cstring>

namespace scene {
namespace {

using platform::TextEncoding;

struct ServiceName {
  Service service;
  const char* name;
  TextEncoding text;
};

// Every name each service is asked for, grouped by service in asking order.
// The first name of a group is the one the command was written against.
// The newer names follow newest first: the newest name a host knows is the
// one its own SDK documents, and from Layout 2023 on it speaks UTF-8, in
// which any file name can be written, where the older names' code page
// loses every character outside it.
constexpr ServiceName kNames[] = {
    {Service::kMessages, LWMESSAGEFUNCS_GLOBAL, TextEncoding::kNative},
    {Service::kMessages, "Info Messages 4", TextEncoding::kUtf8},
    {Service::kMessages, "Info Messages 3", TextEncoding::kNative},

    {Service::kItemInfo, LWITEMINFO_GLOBAL, TextEncoding::kNative},
    {Service::kItemInfo, "LW Item Info 9", TextEncoding::kUtf8},
    {Service::kItemInfo, "LW Item Info 8", TextEncoding::kNative},
    {Service::kItemInfo, "LW Item Info 5", TextEncoding::kNative},

    {Service::kSceneInfo, LWSCENEINFO_GLOBAL, TextEncoding::kNative},
    {Service::kSceneInfo, "LW Scene Info 12", TextEncoding::kUtf8},
    {Service::kSceneInfo, "LW Scene Info 11", TextEncoding::kNative},
    {Service::kSceneInfo, "LW Scene Info 10", TextEncoding::kNative},
    {Service::kSceneInfo, "LW Scene Info 7", TextEncoding::kNative},

    {Service::kObjectInfo, LWOBJECTINFO_GLOBAL, TextEncoding::kNative},
    {Service::kObjectInfo, "LW Object Info 14", TextEncoding::kUtf8},
    {Service::kObjectInfo, "LW Object Info 12", TextEncoding::kNative},
    {Service::kObjectInfo, "LW Object Info 10", TextEncoding::kNative},
    {Service::kObjectInfo, "LW Object Info 7", TextEncoding::kNative},

    {Service::kSceneObjects, LWOBJECTFUNCS_GLOBAL, TextEncoding::kNative},
    {Service::kSceneObjects, "Scene Objects 9", TextEncoding::kUtf8},
    {Service::kSceneObjects, "Scene Objects 8", TextEncoding::kNative},
    {Service::kSceneObjects, "Scene Objects 7", TextEncoding::kNative},
    {Service::kSceneObjects, "Scene Objects 6", TextEncoding::kNative},

    {Service::kSurfaceFuncs, LWSURFACEFUNCS_GLOBAL, TextEncoding::kNative},
    {Service::kSurfaceFuncs, "Surface Functions 6", TextEncoding::kUtf8},
    {Service::kSurfaceFuncs, "Surface Functions 5", TextEncoding::kNative},
    {Service::kSurfaceFuncs, "Surface Functions 4", TextEncoding::kNative},

    {Service::kInterfaceInfo, LWINTERFACEINFO_GLOBAL, TextEncoding::kNative},
    {Service::kInterfaceInfo, "LW Interface Info 8", TextEncoding::kUtf8},
    {Service::kInterfaceInfo, "LW Interface Info 7", TextEncoding::kNative},

    {Service::kImageList, LWIMAGELIST_GLOBAL, TextEncoding::kNative},
    {Service::kImageList, "LW Image List 9", TextEncoding::kUtf8},
    {Service::kImageList, "LW Image List 8", TextEncoding::kNative},
    {Service::kImageList, "LW Image List 6", TextEncoding::kNative},

    {Service::kTextureFuncs, LWTEXTUREFUNCS_GLOBAL, TextEncoding::kNative},
    {Service::kTextureFuncs, "Texture Functions 6", TextEncoding::kUtf8},
    {Service::kTextureFuncs, "Texture Functions 5", TextEncoding::kNative},
    {Service::kTextureFuncs, "Texture Functions 4", TextEncoding::kNative},

    {Service::kFileRequest, LWFILEREQFUNC_GLOBAL, TextEncoding::kNative},
    {Service::kFileRequest, LWFILEREQFUNC3_GLOBAL, TextEncoding::kUtf8},
};

template <typename Table>
void Store(Table& slot, void* service) {
  slot = reinterpret_cast<Table>(service);
}

void Store(HostServices& services, Service service, void* table) {
  switch (service) {
    case Service::kMessages: return Store(services.messages, table);
    case Service::kItemInfo: return Store(services.itemInfo, table);
    case Service::kSceneInfo: return Store(services.sceneInfo, table);
    case Service::kObjectInfo: return Store(services.objectInfo, table);
    case Service::kSceneObjects: return Store(services.sceneObjects, table);
    case Service::kSurfaceFuncs: return Store(services.surfaceFuncs, table);
    case Service::kInterfaceInfo: return Store(services.interfaceInfo, table);
    case Service::kImageList: return Store(services.imageList, table);
    case Service::kTextureFuncs: return Store(services.textureFuncs, table);
    case Service::kFileRequest: return Store(services.fileRequest, table);
  }
}

// Layout's requester served as "File Request 3" takes version 4.
int FileRequestVersion(const char* servedName) {
  const bool third = servedName != nullptr && std::strcmp(servedName, LWFILEREQFUNC3_GLOBAL) == 0;
  return third ? LWFILEREQ3_VERSION : LWFILEREQ_VERSION;
}

ServedName& Slot(HostServices& services, Service service) {
  return services.served[static_cast<std::size_t>(service)];
}

}  // namespace

HostServices AcquireHostServices(GlobalFunc global) {
  HostServices services;
  for (const ServiceName& candidate : kNames) {
    ServedName& served = Slot(services, candidate.service);
    if (served.name != nullptr) continue;
    void* table = global(candidate.name, GFUSE_TRANSIENT);
    if (table == nullptr) continue;
    served = {candidate.name, candidate.text};
    Store(services, candidate.service, table);
  }
  for (const ServiceName& candidate : kNames) {
    if (Slot(services, candidate.service).name == nullptr) {
      services.missingService = candidate.name;
      break;
    }
  }
  services.fileRequestVersion = FileRequestVersion(services.ServedAs(Service::kFileRequest).name);
  return services;
}

FileRequester AcquireFileRequester(GlobalFunc global) {
  FileRequester requester;
  for (const ServiceName& candidate : kNames) {
    if (candidate.service != Service::kFileRequest) continue;
    void* table = global(candidate.name, GFUSE_TRANSIENT);
    if (table == nullptr) continue;
    Store(requester.request, table);
    requester.version = FileRequestVersion(candidate.name);
    requester.text = candidate.text;
    break;
  }
  return requester;
}

std::unique_ptr<DffExporter> ExporterFor(const HostServices& services) {
  auto exporter = std::make_unique<DffExporter>(
      services.sceneInfo, services.objectInfo, services.sceneObjects, services.surfaceFuncs, services.itemInfo,
      services.imageList, services.textureFuncs, services.fileRequest);
  exporter->sceneName = services.sceneInfo->name;
  exporter->fileRequestVersion = services.fileRequestVersion;
  exporter->fileRequestText = services.ServedAs(Service::kFileRequest).text;
  exporter->itemNameText = services.ServedAs(Service::kItemInfo).text;
  return exporter;
}

bool ReportMissingService(const HostServices& services, const std::string& exporter) {
  if (services.missingService.empty()) return false;
  // Without the message service there is no one to tell.
  if (services.messages != nullptr) {
    const std::string line1 =
        "This host does not provide the service \"" + services.missingService + "\" that the " + exporter + " needs.";
    services.messages->error(line1.c_str(), "Run the exporter in a LightWave Layout that provides it.");
  }
  return true;
}

}  // namespace scene
