// "Texture Functions 3": the layers of each texture, their type and image.
#include <cstddef>
#include <optional>

#include "host/host_state.h"
#include "host/scene_refs.h"
#include "host/services.h"

namespace host {
namespace {

LWTLayerID LayerHandle(const Scene& scene, LayerRef ref) {
  return MakeHandle<LWTLayerID>(HandleKind::kLayer, LayerOrdinal(scene, ref));
}

std::optional<LayerRef> Lookup(HostState& state, LWTLayerID layer, const char* operation) {
  const auto ordinal =
      Resolve(state, HandleKind::kLayer, layer, LayerCount(state.scene), operation);
  if (!ordinal) return std::nullopt;
  return LayerAt(state.scene, *ordinal);
}

const TextureLayer& LayerOf(const Scene& scene, LayerRef ref) {
  return scene.textures[ref.texture].layers[ref.layer];
}

LWTLayerID LWCALL FirstLayer(LWTextureID texture) {
  HostState* state = ActiveHostState();
  if (state == nullptr) return nullptr;
  const Scene& scene = state->scene;
  const auto index = Resolve(*state, HandleKind::kTexture, texture, scene.textures.size(),
                             "Texture Functions 3 firstLayer");
  if (!index || scene.textures[*index].layers.empty()) return nullptr;
  return LayerHandle(scene, LayerRef{*index, 0});
}

LWTLayerID LWCALL NextLayer(LWTextureID texture, LWTLayerID layer) {
  HostState* state = ActiveHostState();
  if (state == nullptr) return nullptr;
  const Scene& scene = state->scene;
  const auto index = Resolve(*state, HandleKind::kTexture, texture, scene.textures.size(),
                             "Texture Functions 3 nextLayer");
  const auto ref = Lookup(*state, layer, "Texture Functions 3 nextLayer");
  if (!index || !ref) return nullptr;
  if (ref->texture != *index) {
    state->Fault("Texture Functions 3 nextLayer: the layer belongs to another texture");
    return nullptr;
  }
  const LayerRef next{ref->texture, ref->layer + 1};
  return next.layer < scene.textures[next.texture].layers.size() ? LayerHandle(scene, next)
                                                                 : nullptr;
}

int LWCALL LayerType(LWTLayerID layer) {
  HostState* state = ActiveHostState();
  if (state == nullptr) return 0;
  const auto ref = Lookup(*state, layer, "Texture Functions 3 layerType");
  return ref ? static_cast<int>(LayerOf(state->scene, *ref).type) : 0;
}

// Only the image parameter is modelled; it answers for every layer type,
// null when the layer has no image.  Other tags leave `value` alone and
// answer 0.
int LWCALL GetParam(LWTLayerID layer, int tag, void* value) {
  HostState* state = ActiveHostState();
  if (state == nullptr) return 0;
  const auto ref = Lookup(*state, layer, "Texture Functions 3 getParam");
  if (!ref || tag != TXTAG_IMAGE) return 0;
  if (value == nullptr) {
    state->Fault("Texture Functions 3 getParam: null output");
    return 0;
  }
  *static_cast<LWImageID*>(value) = HandleOfIndex<LWImageID>(
      HandleKind::kImage, LayerOf(state->scene, *ref).image, state->scene.images.size());
  return 1;
}

LWTextureID LWCALL TextureOfLayer(LWTLayerID layer) {
  HostState* state = ActiveHostState();
  if (state == nullptr) return nullptr;
  const auto ref = Lookup(*state, layer, "Texture Functions 3 texture");
  return ref ? MakeHandle<LWTextureID>(HandleKind::kTexture, ref->texture) : nullptr;
}

LWTextureFuncs MakeTable() {
  LWTextureFuncs table{};
  table.firstLayer = &FirstLayer;
  table.nextLayer = &NextLayer;
  table.layerType = &LayerType;
  table.getParam = &GetParam;
  table.texture = &TextureOfLayer;
  return table;
}

}  // namespace

LWTextureFuncs* TextureService() {
  static LWTextureFuncs table = MakeTable();
  return &table;
}

}  // namespace host
