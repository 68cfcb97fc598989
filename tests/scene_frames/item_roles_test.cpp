// The naming rules that leave collision and shadow items out of the map
// command's clump.
#include <gtest/gtest.h>

#include "scene/item_roles.h"

namespace scene {
namespace {

TEST(ItemRoles, CollisionAndShadowNamesIgnoreCaseAndTakeTheLayerName) {
  for (const char* name : {"col", "COLLISION", "col_roof", "cm_walls", "Roof_COL", "house:Col", "house:CM_x",
                           "house:roof_col (2)", "col (12)"}) {
    EXPECT_EQ(RoleOfItem(name), ItemRole::kCollision) << name;
  }
  for (const char* name : {"shadow", "SHADOW_walls", "sm_roof", "house_shadow", "house:Shadow"}) {
    EXPECT_EQ(RoleOfItem(name), ItemRole::kShadow) << name;
  }
  // Names that merely contain the words, and clone numbers that are not
  // Layout's, name visible items.
  for (const char* name : {"colour", "cola", "house:column", "shadowless", "sma", "house:walls", "col (2x)",
                           "colt", "", "col:walls"}) {
    EXPECT_EQ(RoleOfItem(name), ItemRole::kVisual) << name;
  }
  // Collision wins over shadow when the item and its layer disagree.
  EXPECT_EQ(RoleOfItem("shadow:col"), ItemRole::kCollision);
}

}  // namespace
}  // namespace scene
