// A model's collision as an object with the layers the map command and
// makecol take as collision and shadow.
#pragma once

#include "import/import_model.h"
#include "lightwave/lwo2_object.h"

namespace import_scene {

inline constexpr char kCollisionLayer[] = "col";
inline constexpr char kShadowLayer[] = "shadow";

// Layer "col" holds the collision mesh, its polygons' surfaces named after
// the game's surface types (TARMAC ...); layer "shadow" the shadow mesh.
// Vertices are in the clump's space, in Layout's axes.  Spheres and boxes
// have no layer: they stay in the COL file.
host::Lwo2Object CollisionObject(const import::Collision& collision);

}  // namespace import_scene
