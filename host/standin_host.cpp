#include "host/standin_host.h"

#include <string>
#include <utility>

#include "host/host_state.h"
#include "host/services.h"

namespace host {
namespace {

HostState* g_activeHost = nullptr;

void RefreshSceneInfo(HostState& state) {
  const Scene& scene = state.scene;
  state.sceneInfo.name = scene.nameIsNull ? nullptr : state.Text(scene.name);
  state.sceneInfo.filename = state.Text(scene.filename);
  state.sceneInfo.numPoints = scene.TotalPoints();
  state.sceneInfo.numPolygons = scene.TotalPolygons();
}

void* ServiceNamed(HostState& state, const std::string& name) {
  if (name == LWMESSAGEFUNCS_GLOBAL) return MessageService();
  if (name == LWITEMINFO_GLOBAL) return ItemInfoService();
  if (name == LWLIGHTINFO_GLOBAL) return LightInfoService();
  if (name == LWSCENEINFO_GLOBAL) {
    RefreshSceneInfo(state);
    return &state.sceneInfo;
  }
  if (name == LWOBJECTINFO_GLOBAL) return ObjectInfoService();
  if (name == LWOBJECTFUNCS_GLOBAL) return SceneObjectsService();
  if (name == LWSURFACEFUNCS_GLOBAL) return SurfaceService();
  if (name == LWINTERFACEINFO_GLOBAL) return state.interfaceInfo.data();
  if (name == LWIMAGELIST_GLOBAL) return ImageListService();
  if (name == LWTEXTUREFUNCS_GLOBAL) return TextureService();
  // This service is a function, not a table.
  if (name == LWFILEREQFUNC_GLOBAL) return reinterpret_cast<void*>(FileRequestService());
  return nullptr;
}

// Every use mode answers the same way: the tables live as long as the host,
// so acquiring and releasing them needs no bookkeeping.
void* LookUp(HostState& state, const char* serviceName) {
  if (serviceName == nullptr) {
    state.Fault("global function: null service name");
    return nullptr;
  }
  const std::string name(serviceName);
  state.requestedServices.push_back(name);
  if (state.withheld.count(name) != 0) return nullptr;
  const auto alias = state.aliases.find(name);
  if (alias == state.aliases.end()) return ServiceNamed(state, name);
  if (name == LWFILEREQFUNC3_GLOBAL && alias->second == LWFILEREQFUNC_GLOBAL) {
    return reinterpret_cast<void*>(FileRequest3Service());
  }
  return ServiceNamed(state, alias->second);
}

void* LWCALL GlobalEntry(const char* serviceName, int /*useMode*/) {
  return g_activeHost ? LookUp(*g_activeHost, serviceName) : nullptr;
}

}  // namespace

const char* HostState::Text(std::string_view text) {
  // Looked up before it is added: most texts (a polygon's surface name)
  // are asked for again and again.
  if (lastText != nullptr && *lastText == text) return lastText->c_str();
  auto found = texts.find(text);
  if (found == texts.end()) found = texts.emplace(text).first;
  lastText = &*found;
  return found->c_str();
}

void HostState::Fault(std::string what) { faults.push_back(std::move(what)); }

HostState* ActiveHostState() { return g_activeHost; }

struct StandInHost::State : HostState {
  using HostState::HostState;
};

StandInHost::StandInHost(Scene scene) : state_(std::make_unique<State>(std::move(scene))) {
  g_activeHost = state_.get();
}

StandInHost::~StandInHost() {
  if (g_activeHost == state_.get()) g_activeHost = nullptr;
}

GlobalFunc StandInHost::global() const { return &GlobalEntry; }

void* StandInHost::Global(const char* serviceName, int /*useMode*/) {
  return LookUp(*state_, serviceName);
}

const Scene& StandInHost::scene() const { return state_->scene; }
// Whoever may edit the scene must not change the snapshots handed out.
Scene& StandInHost::scene() {
  for (auto& entry : state_->snapshots) entry.second->Detach();
  return state_->scene;
}

void StandInHost::Withhold(const std::string& serviceName) {
  state_->withheld.insert(serviceName);
}

void StandInHost::ServeAlias(const std::string& alias, const std::string& servedName) {
  state_->aliases[alias] = servedName;
}

void StandInHost::SetFileResponder(FileResponder responder) {
  state_->responder = std::move(responder);
}

const std::vector<Message>& StandInHost::messages() const { return state_->messages; }

const std::vector<std::string>& StandInHost::requestedServices() const {
  return state_->requestedServices;
}

const std::vector<FileRequest>& StandInHost::fileRequests() const {
  return state_->fileRequests;
}

int StandInHost::liveMeshSnapshots() const {
  return static_cast<int>(state_->snapshots.size());
}

const std::vector<std::string>& StandInHost::faults() const { return state_->faults; }

}  // namespace host
