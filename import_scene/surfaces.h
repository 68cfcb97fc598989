// A geometry's materials as the surfaces and clips of its object.
#pragma once

#include <string>
#include <vector>

#include "import/import_model.h"
#include "import_scene/image_names.h"
#include "lightwave/lwo2_object.h"

namespace import_scene {

// A surface per material slot, in slot order, named after its texture
// (with a number where the object has that name already: alike materials
// stay apart, since the export writes a material per surface); returns
// each slot's surface name.  Colours are given as
// (byte + 0.5) / 255 so that the export's truncation gives the byte back.
std::vector<std::string> AddSurfaces(const std::vector<import::Material>& materials, bool vertexColors,
                                     ImageNames& images, host::Lwo2Object& object,
                                     std::vector<std::string>& warnings);

}  // namespace import_scene
