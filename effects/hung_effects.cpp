#include "effects/hung_effects.h"

#include <unordered_set>

#include "effects/particle_name.h"

namespace effects {
namespace {

bool IsObjectWithPolygons(const LWItemInfo& itemInfo, const LWObjectInfo& objectInfo, LWItemID item) {
  return itemInfo.type(item) == LWI_OBJECT && objectInfo.numPolygons(item) > 0;
}

// The first object with polygons above the item, climbing through nulls
// only, as the effect's own export does; each item is met once, so a
// parent loop ends the climb.
LWItemID HangingObject(const LWItemInfo& itemInfo, const LWObjectInfo& objectInfo, LWItemID item) {
  std::unordered_set<LWItemID> met{item};
  for (LWItemID at = itemInfo.parent(item); at != nullptr && met.insert(at).second; at = itemInfo.parent(at)) {
    if (IsObjectWithPolygons(itemInfo, objectInfo, at)) return at;
    if (itemInfo.type(at) != LWI_OBJECT) return nullptr;
  }
  return nullptr;
}

}  // namespace

std::vector<HungEffect> HungEffects(const LWItemInfo& itemInfo, const LWObjectInfo& objectInfo) {
  std::vector<HungEffect> hung;
  const auto add = [&](std::string kind, LWItemID item) {
    if (const LWItemID object = HangingObject(itemInfo, objectInfo, item)) hung.push_back({std::move(kind), object});
  };
  for (LWItemID light = itemInfo.first(LWI_LIGHT, nullptr); light != nullptr; light = itemInfo.next(light)) {
    add("light", light);
  }
  for (LWItemID item = itemInfo.first(LWI_OBJECT, nullptr); item != nullptr; item = itemInfo.next(item)) {
    if (IsObjectWithPolygons(itemInfo, objectInfo, item)) continue;
    const char* name = itemInfo.name(item);
    if (const std::optional<std::string> effect = ParticleEffectName(name != nullptr ? name : "")) add(*effect, item);
  }
  return hung;
}

}  // namespace effects
