// The host services the export command works with, obtained once per
// activation through the host's global function.
//
// Each service is asked for first under the name of the Layout generation
// the command was written for, which every Layout that still serves it
// serves unchanged.  A host that no longer answers that name is asked for
// the newer names of the same service: every member the command uses sits
// at the same offset in all of them.  What does change with the name is
// recorded: the encoding of the texts (UTF-8 from Layout 2023 on) and the
// version the file requester takes.
#pragma once

#include <array>
#include <cstddef>
#include <memory>
#include <string>

#include "lwsdk/file_request.h"
#include "lwsdk/globals.h"
#include "lwsdk/images.h"
#include "lwsdk/item_info.h"
#include "lwsdk/messages.h"
#include "lwsdk/object_info.h"
#include "lwsdk/scene_info.h"
#include "lwsdk/surfaces.h"
#include "lwsdk/textures.h"
#include "platform/host_path.h"
#include "scene/dff_exporter.h"

namespace scene {

// The ten services, in the order the command asks for them.
enum class Service {
  kMessages,
  kItemInfo,
  kSceneInfo,
  kObjectInfo,
  kSceneObjects,
  kSurfaceFuncs,
  kInterfaceInfo,
  kImageList,
  kTextureFuncs,
  kFileRequest,
};
constexpr std::size_t kServiceCount = 10;

// The name under which the host served a service, and the encoding of the
// texts that pass through it in either direction.
struct ServedName {
  const char* name = nullptr;  // null when the host served none of its names
  platform::TextEncoding text = platform::TextEncoding::kNative;
};

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

  // Indexed by Service.
  std::array<ServedName, kServiceCount> served{};
  // The version argument the file requester takes under its served name.
  int fileRequestVersion = LWFILEREQ_VERSION;

  // The first name of the first service the host served under none of its
  // names; empty when all ten were served.
  std::string missingService;

  const ServedName& ServedAs(Service service) const {
    return served[static_cast<std::size_t>(service)];
  }
};

// Asks for the ten services in order, each for transient use, each under
// its names in turn until the host serves one.  A service the host serves
// under none of them is left null and named in missingService; the others
// are still asked for.
HostServices AcquireHostServices(GlobalFunc global);

// The host's file requester, for a server that needs no other service.
struct FileRequester {
  LWFileActivateFunc request = nullptr;  // null when the host serves none
  int version = LWFILEREQ_VERSION;       // the version it takes under the name served
  platform::TextEncoding text = platform::TextEncoding::kNative;  // of the paths it takes and gives
};

// Asks for the file requester under its names in turn, as
// AcquireHostServices does.
FileRequester AcquireFileRequester(GlobalFunc global);

// When a service is missing, tells the user so (through the message
// service, if the host has that one), naming what needs it, e.g. "map
// exporter", and returns true.
bool ReportMissingService(const HostServices& services, const std::string& exporter);

// An exporter that reads the scene through these services and knows the
// names they were served under (for their texts' encoding).
std::unique_ptr<DffExporter> ExporterFor(const HostServices& services);

}  // namespace scene
