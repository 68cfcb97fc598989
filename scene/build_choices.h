// The choices that tell the two export commands apart.  The first command
// builds with the defaults; the map command turns them on.  Every builder
// step that a choice changes does exactly what it did before while the
// choice is off.
#pragma once

#include <functional>

#include "lwsdk/types.h"

namespace scene {

struct BuildChoices {
  // Collision and shadow items (col/item_roles.h) get no frame, geometry
  // or atomic.
  bool leaveOutCollisionAndShadow = false;
  // Each corner takes a day colour, and a night colour when the object has
  // a night map; vertices split where they differ.  A geometry with day
  // colours is written prelit and without normals, its night colours in
  // the geometry's Extra Vert Colour record.
  bool vertexColors = false;
  // A mesh object over kMaxGeometryVertices becomes several geometries and
  // atomics on its frame.
  bool splitOverVertexLimit = false;
  // See-through materials are listed after the opaque ones of their
  // geometry, as the game wants them in a model it draws last.
  bool seeThroughMaterialsLast = false;
  // The clump writer asks the user for a COL file to embed.
  bool askForCollision = true;
  // When set, only the object items it keeps get frames and geometry; the
  // others are passed over as lights are.  A map section builds each of
  // its models from one instance's items this way.
  std::function<bool(LWItemID)> keepItem;
  // When set, this item's object space is the model's: its frame stands at
  // the origin, unturned and unmoved, keeping only its scaling, and what is
  // above it is ignored.  The items below it stand where Layout puts them
  // relative to it.
  LWItemID modelRoot = nullptr;
};

// The map command's choices: everything a map object needs on, and no COL
// file embedded, since the game reads a map object's collision from its
// own COL file.
inline BuildChoices MapObjectChoices() {
  BuildChoices choices;
  choices.leaveOutCollisionAndShadow = true;
  choices.vertexColors = true;
  choices.splitOverVertexLimit = true;
  choices.askForCollision = false;
  return choices;
}

}  // namespace scene
