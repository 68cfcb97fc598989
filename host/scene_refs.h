// Turning the module's handles back into parts of the scene, and the
// scene's nested lists (surfaces per object file, layers per texture) into
// the flat host-wide orders that first/next walk.
#pragma once

#include <cstddef>
#include <limits>
#include <optional>
#include <string>

#include "host/handles.h"
#include "host/host_state.h"
#include "host/scene_model.h"

namespace host {

// The scene index behind a handle of `kind`, when it names one of `count`
// elements; otherwise notes a fault naming `operation`.
template <typename Id>
std::optional<std::size_t> Resolve(HostState& state, HandleKind kind, Id id, std::size_t count,
                                   const char* operation) {
  const auto index = HandleIndex(kind, id);
  if (index && *index < count) return index;
  state.Fault(std::string(operation) + ": unknown handle");
  return std::nullopt;
}

// A surface, in the host-wide order of object files then their surfaces.
struct SurfaceRef {
  std::size_t file = 0;
  std::size_t surface = 0;
};
std::optional<SurfaceRef> SurfaceAt(const Scene& scene, std::size_t ordinal);
std::size_t SurfaceOrdinal(const Scene& scene, SurfaceRef ref);
std::size_t SurfaceCount(const Scene& scene);
const Surface& SurfaceOf(const Scene& scene, SurfaceRef ref);

// A texture layer, in the host-wide order of textures then their layers.
struct LayerRef {
  std::size_t texture = 0;
  std::size_t layer = 0;
};
std::optional<LayerRef> LayerAt(const Scene& scene, std::size_t ordinal);
std::size_t LayerOrdinal(const Scene& scene, LayerRef ref);
std::size_t LayerCount(const Scene& scene);

// A scene index stored in the model (-1 for none) as a handle of `kind`,
// or null when it does not name one of `count` elements.
template <typename Id>
Id HandleOfIndex(HandleKind kind, int index, std::size_t count) {
  if (index < 0 || static_cast<std::size_t>(index) >= count) return nullptr;
  return MakeHandle<Id>(kind, static_cast<std::size_t>(index));
}

// A count as the int the host tables answer with, saturated.
inline int CountAsInt(std::size_t count) {
  constexpr auto kMax = static_cast<std::size_t>(std::numeric_limits<int>::max());
  return static_cast<int>(count < kMax ? count : kMax);
}

}  // namespace host
