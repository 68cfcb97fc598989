// The surfaces and clips of an LWO3 file.  A surface's values come from the
// material node wired to its Surface node's Material input, a Standard or
// a Principled BSDF node, mapped onto the values an LWO2 surface holds.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "lightwave/iff_reader.h"
#include "lightwave/lwo2_object.h"

namespace host {

struct Lwo3Surface {
  Lwo2Surface surface;
  // Images that LWO3 names by path rather than by clip index: the image
  // node on the material's colour, which is then the only colour layer,
  // and the reflection map.  They become clip indices once every clip of
  // the file is known.
  std::optional<std::string> colorImagePath;
  std::optional<std::string> reflectionImagePath;
  // Why the node graph could not be followed, when it could not; the
  // surface then has the default values.
  std::optional<std::string> problem;
};

// The children of a FORM SURF.  `earlier` are the surfaces read before it:
// a surface derived from one of them starts from that surface's values.
// Throws IffError.
Lwo3Surface ReadLwo3Surface(IffReader body, const std::vector<Lwo2Surface>& earlier);

// The children of a top-level FORM CLIP; nothing when its source is not a
// still image.  Throws IffError.
std::optional<Lwo2Clip> ReadLwo3Clip(IffReader body);

}  // namespace host
