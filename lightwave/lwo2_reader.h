// Reading of LWO2 object files (LightWave 6 to 2015).
#pragma once

#include <string>

#include "lightwave/iff_reader.h"
#include "lightwave/lwo2_object.h"

namespace host {

// The object in the chunks of an LWO2 form (after its type).  Throws
// LoadError; `fileName` is the name its messages give.
Lwo2Object ReadLwo2Chunks(IffReader form, const std::string& fileName);

}  // namespace host
