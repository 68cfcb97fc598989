// What the map command makes of an object item by its name: collision and
// shadow items carry the model's collision, not its looks, and stay out of
// the clump.  Every comparison ignores case.
#pragma once

#include <string_view>

namespace scene {

enum class ItemRole { kVisual, kCollision, kShadow };

// The role of an item named `itemName`.  Layout names the item of one layer
// of a several-layer object "object:layer", so the rules are asked of the
// whole name and of the layer's name after the last ':'; either naming the
// item as collision (first) or shadow decides.  Layout's clone number
// (" (2)") is not part of either.
ItemRole RoleOfItem(std::string_view itemName);

// `col`, `collision`, or starting with `col_` or `CM_`, or ending with `_col`.
bool IsCollisionName(std::string_view name);
// `shadow`, or starting with `shadow_` or `SM_`, or ending with `_shadow`.
bool IsShadowName(std::string_view name);

}  // namespace scene
