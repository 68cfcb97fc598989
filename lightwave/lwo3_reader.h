// Reading of LWO3 object files (LightWave 2018 and later).
#pragma once

#include <string>

#include "lightwave/iff_reader.h"
#include "lightwave/lwo2_object.h"

namespace host {

// The object in the chunks of an LWO3 form (after its type).  Images that
// surfaces name only by path, and that no top-level clip holds, are added
// as clips of their own.  Throws LoadError; `fileName` is the name its
// messages and warnings give.
Lwo2Object ReadLwo3Chunks(IffReader form, const std::string& fileName);

}  // namespace host
