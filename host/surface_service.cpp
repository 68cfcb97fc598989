// "Surface Functions 3": the surfaces of every object file, their channel
// values, and the texture and image attached to them.
#include <array>
#include <cstddef>
#include <cstring>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "host/host_state.h"
#include "host/scene_refs.h"
#include "host/services.h"

namespace host {
namespace {

LWSurfaceID SurfaceHandle(std::size_t ordinal) {
  return MakeHandle<LWSurfaceID>(HandleKind::kSurface, ordinal);
}

std::optional<SurfaceRef> Lookup(HostState& state, LWSurfaceID surface, const char* operation) {
  const auto ordinal = Resolve(state, HandleKind::kSurface, surface,
                               SurfaceCount(state.scene), operation);
  if (!ordinal) return std::nullopt;
  return SurfaceAt(state.scene, *ordinal);
}

bool IsChannel(const char* channel, const char* name) {
  return channel != nullptr && std::strcmp(channel, name) == 0;
}

LWSurfaceID LWCALL First() {
  HostState* state = ActiveHostState();
  if (state == nullptr || SurfaceCount(state->scene) == 0) return nullptr;
  return SurfaceHandle(0);
}

LWSurfaceID LWCALL Next(LWSurfaceID surface) {
  HostState* state = ActiveHostState();
  if (state == nullptr) return nullptr;
  const auto ref = Lookup(*state, surface, "Surface Functions 3 next");
  if (!ref) return nullptr;
  const std::size_t next = SurfaceOrdinal(state->scene, *ref) + 1;
  return next < SurfaceCount(state->scene) ? SurfaceHandle(next) : nullptr;
}

// The surfaces of the first object file of that name, ended by null; null
// when the scene has no such file.
LWSurfaceID* LWCALL ByObject(const char* objectName) {
  HostState* state = ActiveHostState();
  if (state == nullptr || objectName == nullptr) return nullptr;
  const Scene& scene = state->scene;
  for (std::size_t file = 0; file < scene.objectFiles.size(); ++file) {
    if (scene.objectFiles[file].filename != objectName) continue;
    std::vector<LWSurfaceID> list;
    for (std::size_t i = 0; i < scene.objectFiles[file].surfaces.size(); ++i) {
      list.push_back(SurfaceHandle(SurfaceOrdinal(scene, SurfaceRef{file, i})));
    }
    list.push_back(nullptr);
    // The table's type makes the list writable; the module only reads it.
    return const_cast<LWSurfaceID*>(state->surfaceLists.insert(std::move(list)).first->data());
  }
  return nullptr;
}

const char* LWCALL Name(LWSurfaceID surface) {
  HostState* state = ActiveHostState();
  if (state == nullptr) return nullptr;
  const auto ref = Lookup(*state, surface, "Surface Functions 3 name");
  return ref ? state->Text(SurfaceOf(state->scene, *ref).name) : nullptr;
}

const char* LWCALL SceneObject(LWSurfaceID surface) {
  HostState* state = ActiveHostState();
  if (state == nullptr) return nullptr;
  const auto ref = Lookup(*state, surface, "Surface Functions 3 sceneObject");
  return ref ? state->Text(state->scene.objectFiles[ref->file].filename) : nullptr;
}

std::optional<std::array<double, 3>> ChannelValue(const Surface& surface, const char* channel) {
  if (IsChannel(channel, SURF_COLR)) return surface.color;
  if (IsChannel(channel, SURF_TRAN)) return std::array<double, 3>{surface.transparency, 0, 0};
  if (IsChannel(channel, SURF_REFL)) return std::array<double, 3>{surface.reflectivity, 0, 0};
  if (IsChannel(channel, SURF_GLOS)) return std::array<double, 3>{surface.glossiness, 0, 0};
  return std::nullopt;
}

// Each (surface, channel) pair has one host-owned slot, refreshed on every
// call, so a pointer the module keeps always reads that channel.
double* LWCALL GetFlt(LWSurfaceID surface, const char* channel) {
  HostState* state = ActiveHostState();
  if (state == nullptr) return nullptr;
  const auto ref = Lookup(*state, surface, "Surface Functions 3 getFlt");
  if (!ref) return nullptr;
  const auto value = ChannelValue(SurfaceOf(state->scene, *ref), channel);
  if (!value) return nullptr;
  auto& slot = state->channelValues[{SurfaceOrdinal(state->scene, *ref), channel}];
  slot = *value;
  return slot.data();
}

LWTextureID LWCALL GetTex(LWSurfaceID surface, const char* channel) {
  HostState* state = ActiveHostState();
  if (state == nullptr) return nullptr;
  const auto ref = Lookup(*state, surface, "Surface Functions 3 getTex");
  if (!ref || !IsChannel(channel, SURF_COLR)) return nullptr;
  return HandleOfIndex<LWTextureID>(HandleKind::kTexture,
                                    SurfaceOf(state->scene, *ref).colorTexture,
                                    state->scene.textures.size());
}

LWImageID LWCALL GetImg(LWSurfaceID surface, const char* channel) {
  HostState* state = ActiveHostState();
  if (state == nullptr) return nullptr;
  const auto ref = Lookup(*state, surface, "Surface Functions 3 getImg");
  if (!ref || !IsChannel(channel, SURF_RIMG)) return nullptr;
  return HandleOfIndex<LWImageID>(HandleKind::kImage,
                                  SurfaceOf(state->scene, *ref).reflectionImage,
                                  state->scene.images.size());
}

// The vertex colour map the surface names; null when it names none.
const char* LWCALL GetColorVMap(LWSurfaceID surface) {
  HostState* state = ActiveHostState();
  if (state == nullptr) return nullptr;
  const auto ref = Lookup(*state, surface, "Surface Functions 3 getColorVMap");
  if (!ref) return nullptr;
  const std::string& name = SurfaceOf(state->scene, *ref).colorVMap;
  return name.empty() ? nullptr : state->Text(name);
}

LWSurfaceFuncs MakeTable() {
  LWSurfaceFuncs table{};
  table.first = &First;
  table.next = &Next;
  table.byObject = &ByObject;
  table.name = &Name;
  table.sceneObject = &SceneObject;
  table.getFlt = &GetFlt;
  table.getTex = &GetTex;
  table.getImg = &GetImg;
  table.getColorVMap = &GetColorVMap;
  return table;
}

}  // namespace

LWSurfaceFuncs* SurfaceService() {
  static LWSurfaceFuncs table = MakeTable();
  return &table;
}

}  // namespace host
