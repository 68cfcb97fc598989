// What the service tables of the stand-in host work on.
//
// The host's global function carries no context, so every service function
// finds the state of the active StandInHost through ActiveHostState().
// Nothing here is part of the host's public API.
#pragma once

#include <array>
#include <cstddef>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "host/mesh_snapshot.h"
#include "host/scene_model.h"
#include "host/standin_host.h"
#include "lwsdk/mesh_info.h"
#include "lwsdk/scene_info.h"

namespace host {

struct HostState {
  explicit HostState(Scene s) : scene(std::move(s)) {}

  Scene scene;
  std::set<std::string> withheld;
  std::map<std::string, std::string> aliases;  // alias -> name served under it
  FileResponder responder;
  std::vector<Message> messages;
  std::vector<std::string> requestedServices;
  std::vector<FileRequest> fileRequests;
  std::vector<std::string> faults;

  // Served as "LW Scene Info 4"; refreshed from the scene on every look-up.
  LWSceneInfo sceneInfo{};
  // Served as "LW Interface Info 4", which the module only obtains.
  std::array<void*, 16> interfaceInfo{};

  // Texts, surface lists and channel values handed to the module.  They are
  // only ever added to, so every pointer handed out stays valid for the
  // host's life, however the scene changes in between.
  std::set<std::string, std::less<>> texts;  // found by string_view, without a copy
  // The text handed out last: a polygon's surface name is mostly its
  // neighbour's, and is then found without a search.
  const std::string* lastText = nullptr;
  std::set<std::vector<LWSurfaceID>> surfaceLists;
  std::map<std::pair<std::size_t, std::string>, std::array<double, 3>> channelValues;

  std::map<const LWMeshInfo*, std::unique_ptr<MeshSnapshot>> snapshots;

  // A host-owned copy of `text`, valid until the host is destroyed.
  const char* Text(std::string_view text);
  // Notes a call the real host would not survive (an unknown handle, a
  // null output pointer); the call itself answers null or zero.
  void Fault(std::string what);
};

// The state of the active StandInHost, or null when there is none.
HostState* ActiveHostState();

}  // namespace host
