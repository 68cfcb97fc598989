// The collision of one input file, gathered for one COL entry: from a
// LightWave object or scene (its collision and shadow items, or its visual
// triangles when it has no collision item) or from a DFF (its visual
// triangles).  Positions are in the clump's space, as the exporter writes
// frames and vertices: the scene at time 0 with LightWave's (x, y, z) as
// (-x, -z, y).
#pragma once

#include <string>
#include <vector>

#include "col/entry_builder.h"
#include "dff_inspect/inspect.h"
#include "host/scene_model.h"

namespace makecol {

struct GatheredEntry {
  col::EntrySource source;
  // A scene without a collision item: its visible triangles stand in.
  bool visualAsCollision = false;
};

// Throws std::runtime_error when the scene has no polygon at all.
GatheredEntry FromScene(const host::Scene& scene);

// Throws std::runtime_error for a clump without triangles or with a
// geometry whose vertices are not stored (a platform-native geometry).
GatheredEntry FromClump(const dffinfo::ClumpRecord& clump);

}  // namespace makecol
