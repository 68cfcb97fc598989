// Builds one COL entry from triangles in metres:
//
//   col::EntrySource source;
//   source.name = "house";
//   source.items = {"house:col"};
//   source.surfaces = {"tarmac"};
//   source.collision.push_back({{a, b, c}, /*item*/ 0, /*surface*/ 0});
//   source.visual = ...every point of the visible model...;
//   col::BuiltEntry built = col::BuildEntry(source);
//   if (built.failure != col::BuildFailure::kNone) ...built.error...
//   col::AppendCol3Entry(built.entry, fileBytes);
//
// Positions are in the clump's space (the game's axes, metres), and each
// triangle's corners run clockwise seen from outside, as the game reads
// them.  Vertices are rounded to the file's 1/128 m grid and shared where
// they round alike; no vertex is stored twice or left unused.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "col/collision_model.h"

namespace col {

using Point = std::array<double, 3>;

struct SourceTriangle {
  std::array<Point, 3> corners;
  std::uint32_t item = 0;     // index into EntrySource::items, for messages
  std::uint32_t surface = 0;  // index into EntrySource::surfaces
};

struct EntrySource {
  std::string name;  // cut to 21 bytes when longer
  std::uint16_t modelId = 0;
  std::vector<std::string> items;
  std::vector<std::string> surfaces;  // resolved by ResolveSurfaceName
  std::vector<SourceTriangle> collision;
  std::vector<SourceTriangle> shadow;  // its surfaces are not used: shadow faces are DEFAULT
  std::vector<Point> visual;           // the bounds enclose these points too
  bool boundsOnly = false;             // keep the bounds, drop every mesh
};

enum class BuildFailure {
  kNone,
  kOutOfRange,  // a vertex beyond -256 m .. +255.99 m on some axis
  kTooLarge,    // more faces or vertices than an entry holds
};

struct BuiltEntry {
  Entry entry;
  BuildFailure failure = BuildFailure::kNone;
  std::string error;  // what failed and what to change, when failure is set
  bool nameCut = false;
  // Surface names that match no surface type, each once, in first use,
  // and the number of faces that took DEFAULT (0) for them.
  std::vector<std::string> unknownSurfaces;
  std::size_t defaultedFaces = 0;
  // Faces dropped because two of their corners round to one vertex.
  std::size_t collapsedFaces = 0;

  // The distinct surface types of the collision faces.
  std::size_t SurfaceCount() const;
};

BuiltEntry BuildEntry(const EntrySource& source);

// The name cut to what an entry holds (21 bytes), never inside a UTF-8
// character.
std::string FitEntryName(const std::string& name);

}  // namespace col
