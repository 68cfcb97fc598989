// A large scene for timing the export: one object whose mesh is a grid of
// triangles or quads with a UV map, two surfaces and one texture.
#pragma once

#include "host/scene_model.h"

namespace bench {

enum class Cells {
  kTrianglePairs,  // two triangles per cell
  kQuads,          // one quad per cell, which the exporter splits in two
};

struct GridSize {
  int columns;  // cells across; points across are one more
  int rows;
  Cells cells = Cells::kTrianglePairs;
};

// The UV map repeats every 16 columns, so the points of every 16th column
// carry a second value on the cells to their left: a seam that splits them
// into two vertices.  The left half of the cells uses the textured surface,
// the right half the plain one.
host::Mesh GridMesh(GridSize size);

// Adds an RGB day map and an RGBA night map ("night") with a value on
// every point; the night map's polygons of every 32nd column carry a value
// of their own on their right-hand points, a seam in that map alone.
void AddDayAndNightMaps(host::Mesh& mesh);

// One object item whose mesh is GridMesh(size), with its object file's two
// surfaces, the texture and its image.
host::Scene GridScene(GridSize size);

// Hangs `count` point lights and `count` particle nulls ("fx_fire") on the
// scene's first item, through a null, spread over a 250 m square: a street
// of lamps on one map object.
void AddLamps(host::Scene& scene, int count);

}  // namespace bench
