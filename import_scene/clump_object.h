// A game model as one object, for a host that loads a DFF as it loads an
// object file: a layer per atomic with its points where the clump puts
// them, and the collision layers.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "import/import_model.h"
#include "import_scene/model_files.h"
#include "lightwave/lwo2_object.h"

namespace import_scene {

struct ClumpObject {
  // Layers in the order the scene lists the model's items (import_scene/
  // item_order.h), each named after its frame with its pivot where the
  // frame stands; a layer's parent is the layer of the nearest frame above
  // with an atomic.  Then "col" and "shadow" where the collision has them,
  // hidden unless the model is prelit (the map command's, which takes them;
  // the first command embeds the COL file instead, which an object cannot
  // carry).  One empty layer for a model with neither.  Surfaces are named
  // as the scene's are, without images: an object's loader cannot hand the
  // host images.
  host::Lwo2Object object;
  // Each surface as the LWO2 sub-chunks a loader hands the host.
  std::vector<std::vector<std::uint8_t>> surfaceBlocks;
};

// The clump's space in Layout's axes: each frame placed as the scene's
// item for it (import_scene/frame_turn.h) up its parent chain.
ClumpObject ToClumpObject(const import::Model& model, std::vector<std::string>& warnings);

// Reads the DFF (and its collision as ReadModel does) into a ClumpObject;
// nothing on failure, with the conversion's outcome and error set.
std::optional<ClumpObject> LoadClumpObject(const std::string& dff, Conversion& conversion);

}  // namespace import_scene
