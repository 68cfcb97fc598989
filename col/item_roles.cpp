#include "col/item_roles.h"

#include <cctype>

namespace col {
namespace {

bool SameLetters(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i]))) {
      return false;
    }
  }
  return true;
}

bool StartsWith(std::string_view name, std::string_view prefix) {
  return name.size() >= prefix.size() && SameLetters(name.substr(0, prefix.size()), prefix);
}

bool EndsWith(std::string_view name, std::string_view suffix) {
  return name.size() >= suffix.size() && SameLetters(name.substr(name.size() - suffix.size()), suffix);
}

bool IsCollisionName(std::string_view name) {
  return SameLetters(name, "col") || SameLetters(name, "collision") || StartsWith(name, "col_") ||
         StartsWith(name, "CM_") || EndsWith(name, "_col");
}

bool IsShadowName(std::string_view name) {
  return SameLetters(name, "shadow") || StartsWith(name, "shadow_") || StartsWith(name, "SM_") ||
         EndsWith(name, "_shadow");
}

}  // namespace

ItemRole RoleOfName(std::string_view name) {
  if (IsCollisionName(name)) return ItemRole::kCollision;
  if (IsShadowName(name)) return ItemRole::kShadow;
  return ItemRole::kVisual;
}

ItemRole RoleOfItem(std::string_view itemName, std::string_view layerName) {
  if (IsCollisionName(itemName) || IsCollisionName(layerName)) return ItemRole::kCollision;
  if (IsShadowName(itemName) || IsShadowName(layerName)) return ItemRole::kShadow;
  return ItemRole::kVisual;
}

}  // namespace col
