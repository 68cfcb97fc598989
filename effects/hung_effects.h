// Which lights and particle nulls hang under which object: the same climb
// through nulls that decides where an effect is written, without a model
// to write it to.  A section uses it to see whether the instances of one
// model carry the same effects, since the game shows every instance with
// the model's own.
#pragma once

#include <string>
#include <vector>

#include "lwsdk/item_info.h"
#include "lwsdk/object_info.h"

namespace effects {

struct HungEffect {
  // "light", or the particle effect's name ("fire").
  std::string kind;
  // The first item above it that is an object with polygons.
  LWItemID object = nullptr;
};

// Every light and "fx_" null of the scene that hangs under an object.
std::vector<HungEffect> HungEffects(const LWItemInfo& itemInfo, const LWObjectInfo& objectInfo);

}  // namespace effects
