// "LW Light Info 3": a light's type, colour and range.
#include <cstddef>
#include <optional>

#include "host/host_state.h"
#include "host/scene_refs.h"
#include "host/services.h"

namespace host {
namespace {

// The settings of a light item; null for an unknown handle or an item of
// another type, which Layout would not survive either.
const LightSettings* LightOf(LWItemID light, const char* operation) {
  HostState* state = ActiveHostState();
  if (state == nullptr) return nullptr;
  const auto index = Resolve(*state, HandleKind::kItem, light, state->scene.items.size(), operation);
  if (!index) return nullptr;
  const Item& item = state->scene.items[*index];
  if (item.type != ItemType::kLight) {
    state->Fault(std::string(operation) + ": the item is not a light");
    return nullptr;
  }
  return &item.light;
}

int LWCALL Type(LWItemID light) {
  const LightSettings* settings = LightOf(light, "LW Light Info 3 type");
  return settings != nullptr ? settings->type : LWLIGHT_DISTANT;
}

void LWCALL Color(LWItemID light, LWTime, LWDVector color) {
  if (color == nullptr) {
    if (HostState* state = ActiveHostState()) state->Fault("LW Light Info 3 color: null output");
    return;
  }
  const LightSettings* settings = LightOf(light, "LW Light Info 3 color");
  for (std::size_t i = 0; i < 3; ++i) color[i] = settings != nullptr ? settings->color[i] * settings->intensity : 0.0;
}

unsigned int LWCALL Flags(LWItemID light) {
  const LightSettings* settings = LightOf(light, "LW Light Info 3 flags");
  return settings != nullptr && settings->falloff != LWLFALL_OFF ? LWLFL_LIMITED_RANGE : 0u;
}

double LWCALL Range(LWItemID light, LWTime) {
  const LightSettings* settings = LightOf(light, "LW Light Info 3 range");
  return settings != nullptr ? settings->range : 0.0;
}

int LWCALL Falloff(LWItemID light) {
  const LightSettings* settings = LightOf(light, "LW Light Info 3 falloff");
  return settings != nullptr ? settings->falloff : LWLFALL_OFF;
}

LWLightInfo MakeTable() {
  LWLightInfo table{};
  table.type = &Type;
  table.color = &Color;
  table.flags = &Flags;
  table.range = &Range;
  table.falloff = &Falloff;
  return table;
}

}  // namespace

LWLightInfo* LightInfoService() {
  static LWLightInfo table = MakeTable();
  return &table;
}

}  // namespace host
