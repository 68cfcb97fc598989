// A geometry as the mesh of one object layer, in Layout's axes.
#pragma once

#include <string>
#include <vector>

#include "import/import_model.h"
#include "lightwave/records.h"

namespace import_scene {

// The names the import gives the maps the export reads back: UV sets by
// their number, the day and night colours by what they hold.
std::string UvMapName(std::size_t set);
inline constexpr char kDayColorMap[] = "day";
inline constexpr char kNightColorMap[] = "night";

// Vertices that share a position (and a normal, where the geometry stores
// normals) become one point, so that the export's normals come out as the
// geometry's, unless they are alike in every map too: the export would have
// made them one vertex, so they came from points of their own.  A value of a UV or colour map that differs between the
// vertices of one point goes in as the polygon's own value (VMAD).  Each
// triangle (a, b, c) becomes the polygon (c, b, a), which the export writes
// back as (a, b, c); `surfaceOfSlot` names each material slot's surface.
host::Mesh LayerMesh(const import::Geometry& geometry, const std::vector<std::string>& surfaceOfSlot);

}  // namespace import_scene
