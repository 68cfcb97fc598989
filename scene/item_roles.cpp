#include "scene/item_roles.h"

#include <cstddef>

namespace scene {
namespace {

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool SameIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (Lower(a[i]) != Lower(b[i])) return false;
  }
  return true;
}

bool StartsWith(std::string_view name, std::string_view prefix) {
  return name.size() >= prefix.size() && SameIgnoringCase(name.substr(0, prefix.size()), prefix);
}

bool EndsWith(std::string_view name, std::string_view suffix) {
  return name.size() >= suffix.size() && SameIgnoringCase(name.substr(name.size() - suffix.size()), suffix);
}

ItemRole RoleOfName(std::string_view name) {
  if (IsCollisionName(name)) return ItemRole::kCollision;
  if (IsShadowName(name)) return ItemRole::kShadow;
  return ItemRole::kVisual;
}

// Layout numbers a second item of one name "name (2)"; the number is not
// part of the name the user gave.
std::string_view WithoutCloneNumber(std::string_view name) {
  if (name.empty() || name.back() != ')') return name;
  const std::size_t open = name.rfind(" (");
  if (open == std::string_view::npos || open + 3 > name.size() - 1) return name;
  for (std::size_t i = open + 2; i + 1 < name.size(); ++i) {
    if (name[i] < '0' || name[i] > '9') return name;
  }
  return name.substr(0, open);
}

}  // namespace

bool IsCollisionName(std::string_view name) {
  return SameIgnoringCase(name, "col") || SameIgnoringCase(name, "collision") || StartsWith(name, "col_") ||
         StartsWith(name, "CM_") || EndsWith(name, "_col");
}

bool IsShadowName(std::string_view name) {
  return SameIgnoringCase(name, "shadow") || StartsWith(name, "shadow_") || StartsWith(name, "SM_") ||
         EndsWith(name, "_shadow");
}

ItemRole RoleOfItem(std::string_view fullName) {
  const std::string_view itemName = WithoutCloneNumber(fullName);
  const ItemRole whole = RoleOfName(itemName);
  const std::size_t colon = itemName.rfind(':');
  const ItemRole layer = colon == std::string_view::npos ? ItemRole::kVisual : RoleOfName(itemName.substr(colon + 1));
  if (whole == ItemRole::kCollision || layer == ItemRole::kCollision) return ItemRole::kCollision;
  if (whole == ItemRole::kShadow || layer == ItemRole::kShadow) return ItemRole::kShadow;
  return ItemRole::kVisual;
}

}  // namespace scene
