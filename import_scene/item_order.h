// The order of the scene's items, one per frame.
#pragma once

#include <cstddef>
#include <vector>

#include "import/import_model.h"

namespace import_scene {

// Frame indices in the order their items are listed.  The export lists the
// children of a frame in item order and numbers geometries in item order,
// so the order keeps each frame's children in frame order and the atomics'
// frames in atomic order; where both cannot hold (files of other tools),
// frame order decides.
std::vector<std::size_t> ItemOrder(const import::Model& model);

}  // namespace import_scene
