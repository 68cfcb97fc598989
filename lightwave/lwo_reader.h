// Reading of LightWave object files: LWO2 (LightWave 6 to 2015) and LWO3
// (LightWave 2018 and later) into one record.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "lightwave/lwo2_object.h"

namespace host {

// Reads an LWO2 or LWO3 object from the bytes of a file; the format is told
// by the form's type.  LWOB objects (LightWave 5 and older) and other forms
// are refused by name.  Throws LoadError; `fileName` is the name its
// messages give.
Lwo2Object ReadLwo(const std::vector<std::uint8_t>& bytes, const std::string& fileName);

}  // namespace host
