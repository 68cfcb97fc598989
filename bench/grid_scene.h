// A large scene for timing the export: one object whose mesh is a grid of
// triangles with a UV map, two surfaces and one texture.
#pragma once

#include "host/scene_model.h"

namespace bench {

struct GridSize {
  int columns;  // cells across; points across are one more
  int rows;
};

// Two triangles per cell.  The UV map repeats every 16 columns, so the
// points of every 16th column carry a second value on the cells to their
// left: a seam that splits them into two vertices.  The left half of the
// cells uses the textured surface, the right half the plain one.
host::Scene GridScene(GridSize size);

}  // namespace bench
