// The framing of LWO3 objects below the top level: every item is a chunk
// with a four-byte length or a nested FORM with a type and children, and a
// form's own data sits in a first chunk whose identifier is four spaces.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "lightwave/iff_reader.h"

namespace host {

inline constexpr std::uint32_t kAnonymousId = MakeId("    ");

struct Lwo3Child {
  bool form = false;
  std::uint32_t id = 0;  // a chunk's identifier, or a form's type
  IffReader body;        // a chunk's data, or a form's children

  bool IsForm(std::uint32_t type) const { return form && id == type; }
  bool IsChunk(std::uint32_t chunkId) const { return !form && id == chunkId; }
  // "FORM SURF" or "NNME", for messages.
  std::string Label() const;
};

// The next child of a form's body, or nothing at its end.  Throws IffError.
std::optional<Lwo3Child> NextChild(IffReader& parent);

// Runs `read` on the child's body; a fault inside names the child first,
// so that nested faults read as a path ("FORM NODS > FORM NNDS > NNME").
template <typename Read>
void WithinChild(const Lwo3Child& child, Read read) {
  try {
    read(child.body);
  } catch (const IffError& error) {
    throw IffError(error.offset(), child.Label() + " > " + error.what());
  }
}

// Calls `visit` for each child of `body`, each within its own label.
template <typename Visit>
void ForEachChild(IffReader body, Visit visit) {
  while (std::optional<Lwo3Child> child = NextChild(body)) {
    WithinChild(*child, [&](IffReader) { visit(*child); });
  }
}

}  // namespace host
