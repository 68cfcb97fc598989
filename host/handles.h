// Opaque handles of the stand-in host.
//
// Items, surfaces, textures, texture layers and images are named by their
// position in the scene, tagged with their kind: (kind << 28) | (index + 1).
// The host keeps no table of handles, so a handle stays meaningful when a
// test edits the scene between calls, a handle of one kind passed where
// another is expected is recognised as foreign instead of being read as a
// wrong index, and no handle is ever null.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

namespace host {

enum class HandleKind : std::uintptr_t {
  kItem = 1,
  kSurface = 2,
  kTexture = 3,
  kLayer = 4,
  kImage = 5,
};

// 28 bits of index keep the tag inside a 32-bit pointer.
constexpr std::size_t kMaxHandleIndex = (std::size_t{1} << 28) - 2;

template <typename Id>
Id MakeHandle(HandleKind kind, std::size_t index) {
  if (index > kMaxHandleIndex) return nullptr;
  const std::uintptr_t bits = (static_cast<std::uintptr_t>(kind) << 28) |
                              static_cast<std::uintptr_t>(index + 1);
  return reinterpret_cast<Id>(bits);
}

template <typename Id>
std::optional<std::size_t> HandleIndex(HandleKind kind, Id id) {
  const std::uintptr_t bits = reinterpret_cast<std::uintptr_t>(id);
  if ((bits >> 28) != static_cast<std::uintptr_t>(kind)) return std::nullopt;
  const std::uintptr_t low = bits & ((std::uintptr_t{1} << 28) - 1);
  if (low == 0) return std::nullopt;
  return static_cast<std::size_t>(low - 1);
}

}  // namespace host
