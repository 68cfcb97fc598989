// Which scene items are collision and which are shadow, by their names.
#pragma once

#include <string_view>

namespace col {

enum class ItemRole { kVisual, kCollision, kShadow };

// The role a layer or item name gives, case ignored: "col" or "collision",
// a name starting "col_" or "CM_" or ending "_col" is collision; "shadow",
// one starting "shadow_" or "SM_" or ending "_shadow" is shadow.  A name
// that fits both (say "shadow_col") is collision.
ItemRole RoleOfName(std::string_view name);

// The role of an item whose layer name and item name may differ (an item
// of a layered object is shown as "file:layer"): collision when either name
// says so, else shadow when either does.
ItemRole RoleOfItem(std::string_view itemName, std::string_view layerName);

}  // namespace col
