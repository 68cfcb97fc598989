// Reading of LWO2 object files (LightWave 6 to 2015).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "lightwave/lwo2_object.h"

namespace host {

// Reads an LWO2 object from the bytes of a file.  LWOB objects (LightWave 5
// and older) and LWO3 objects (LightWave 2018 and later) are refused by
// name.  Throws LoadError; `fileName` is the name its messages give.
Lwo2Object ReadLwo2(const std::vector<std::uint8_t>& bytes, const std::string& fileName);

}  // namespace host
