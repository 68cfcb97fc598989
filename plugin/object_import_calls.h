// An object handed to the host through an object loader's callbacks, as
// Layout and Modeler take a file their own readers cannot read.
#pragma once

#include "import_scene/clump_object.h"
#include "lwsdk/object_loader.h"

namespace plugin {

// The `version` argument handed with each surface from interface version 4
// on: the block is the LWO2 sub-chunks that version 3 takes.
constexpr unsigned int kSurfaceBlockVersion = 0;

// Sends the layers (numbered from 1, as LightWave's loaders number them),
// with their pivots, parents, flags, points, polygons, surface tags and
// vertex maps, then the surfaces, through `local`'s callbacks at interface
// `version` (3 to 5).  Reports a step per layer to the monitor, if any;
// false when the user aborted there, with the rest unsent.
bool SendObject(const import_scene::ClumpObject& clump, int version, const LWObjectImport& local);

}  // namespace plugin
