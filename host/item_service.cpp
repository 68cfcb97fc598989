// "LW Item Info 3": the item walk, parents, names and motion parameters.
#include <cstddef>
#include <optional>

#include "host/host_state.h"
#include "host/scene_refs.h"
#include "host/services.h"

namespace host {
namespace {

std::optional<std::size_t> ItemIndex(HostState& state, LWItemID item, const char* operation) {
  return Resolve(state, HandleKind::kItem, item, state.scene.items.size(), operation);
}

LWItemID ItemHandle(std::size_t index) { return MakeHandle<LWItemID>(HandleKind::kItem, index); }

// A bone belongs to the object it hangs under, however many bones lie
// between; -1 when no object does.  Parent links are walked at most once
// per item, so a cycle in a damaged scene cannot hang the host.
int OwnerObject(const Scene& scene, std::size_t index) {
  int at = scene.items[index].parent;
  for (std::size_t steps = 0; steps < scene.items.size(); ++steps) {
    if (at < 0 || static_cast<std::size_t>(at) >= scene.items.size()) return -1;
    const Item& item = scene.items[static_cast<std::size_t>(at)];
    if (item.type == ItemType::kObject) return at;
    at = item.parent;
  }
  return -1;
}

// Whether the walk for `type` (and, for bones, `owner`) includes the item.
bool InWalk(const Scene& scene, std::size_t index, LWItemType type, int owner) {
  const Item& item = scene.items[index];
  if (static_cast<LWItemType>(item.type) != type) return false;
  return type != LWI_BONE || OwnerObject(scene, index) == owner;
}

LWItemID WalkFrom(const Scene& scene, std::size_t start, LWItemType type, int owner) {
  for (std::size_t i = start; i < scene.items.size(); ++i) {
    if (InWalk(scene, i, type, owner)) return ItemHandle(i);
  }
  return nullptr;
}

LWItemID LWCALL First(LWItemType type, LWItemID boneOwner) {
  HostState* state = ActiveHostState();
  if (state == nullptr) return nullptr;
  int owner = -1;
  if (type == LWI_BONE) {
    const auto ownerIndex = ItemIndex(*state, boneOwner, "LW Item Info 3 first (bone owner)");
    if (!ownerIndex) return nullptr;
    owner = static_cast<int>(*ownerIndex);
  }
  return WalkFrom(state->scene, 0, type, owner);
}

LWItemID LWCALL Next(LWItemID item) {
  HostState* state = ActiveHostState();
  if (state == nullptr) return nullptr;
  const auto index = ItemIndex(*state, item, "LW Item Info 3 next");
  if (!index) return nullptr;
  const Scene& scene = state->scene;
  const auto type = static_cast<LWItemType>(scene.items[*index].type);
  const int owner = type == LWI_BONE ? OwnerObject(scene, *index) : -1;
  return WalkFrom(scene, *index + 1, type, owner);
}

LWItemID LWCALL Parent(LWItemID item) {
  HostState* state = ActiveHostState();
  if (state == nullptr) return nullptr;
  const auto index = ItemIndex(*state, item, "LW Item Info 3 parent");
  if (!index) return nullptr;
  const Scene& scene = state->scene;
  return HandleOfIndex<LWItemID>(HandleKind::kItem, scene.items[*index].parent,
                                 scene.items.size());
}

LWItemType LWCALL Type(LWItemID item) {
  HostState* state = ActiveHostState();
  if (state == nullptr) return LWI_OBJECT;
  const auto index = ItemIndex(*state, item, "LW Item Info 3 type");
  return index ? static_cast<LWItemType>(state->scene.items[*index].type) : LWI_OBJECT;
}

const char* LWCALL Name(LWItemID item) {
  HostState* state = ActiveHostState();
  if (state == nullptr) return nullptr;
  const auto index = ItemIndex(*state, item, "LW Item Info 3 name");
  return index ? state->Text(state->scene.items[*index].name) : nullptr;
}

// The model holds an item's motion at time 0 and at the scene's current
// time.  Any other time answers the current-time values too: a module that
// samples anywhere but at 0 then sees a moved item instead of the time-0
// values it should have asked for.
void LWCALL Param(LWItemID item, LWItemParam param, LWTime time, LWDVector vector) {
  HostState* state = ActiveHostState();
  if (state == nullptr) return;
  if (vector == nullptr) {
    state->Fault("LW Item Info 3 param: null output");
    return;
  }
  const auto index = ItemIndex(*state, item, "LW Item Info 3 param");
  if (!index) return;
  const Item& found = state->scene.items[*index];
  const bool moved = time != 0.0 && found.atCurrentTime.has_value();
  const Vec3 value = (moved ? *found.atCurrentTime : found.atTimeZero).Get(param);
  for (std::size_t i = 0; i < 3; ++i) vector[i] = value[i];
}

LWItemInfo MakeTable() {
  LWItemInfo table{};
  table.first = &First;
  table.next = &Next;
  table.parent = &Parent;
  table.type = &Type;
  table.name = &Name;
  table.param = &Param;
  return table;
}

}  // namespace

LWItemInfo* ItemInfoService() {
  static LWItemInfo table = MakeTable();
  return &table;
}

}  // namespace host
