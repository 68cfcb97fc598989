// The split of a mesh object that the game cannot address in one geometry:
// its triangle indices are 16 bits wide.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "scene/mesh_object.h"

namespace scene {

// The most vertices one geometry can address.
constexpr std::int32_t kMaxGeometryVertices = 65535;

// A built mesh object (its output arrays and materials) as parts of at
// most `limit` vertices each, on the same frame.  The triangles are taken
// in order, and a part closes when the next triangle would take it over
// the limit, so every triangle is in exactly one part.  Each part lists
// only the materials its triangles use, in the whole's order, and its
// vertices in order of first use.  The parts are numbered from the whole's
// meshIndex; the first carries the whole's colour report.  `limit` is at
// least 3.
std::vector<std::unique_ptr<MeshObject>> SplitIntoParts(const MeshObject& whole, std::int32_t limit);

}  // namespace scene
