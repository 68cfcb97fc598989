// Writing of small scene files (versions 3 to 5) that hold items at rest:
// the bundled example and test scenes are made with it.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "lightwave/lws_document.h"
#include "lightwave/records.h"

namespace host {

struct LwsWriterItem {
  LwsItemKind kind = LwsItemKind::kObject;
  std::string objectPath;  // objects: the path the scene names
  int layer = 1;           // objects: the layer, counted from 1 as scenes count it
  std::string name;        // nulls, lights, cameras and bones
  int parent = -1;         // index of the parent in the item list
  Vec3 position{0.0, 0.0, 0.0};
  Vec3 rotation{0.0, 0.0, 0.0};  // heading, pitch, bank in radians
  Vec3 scale{1.0, 1.0, 1.0};
  std::optional<Vec3> pivot;
  std::optional<Vec3> pivotRotation;  // radians; scenes store degrees
  LwsLight light;  // lights only
};

// The scene text: each channel is an envelope with one key at time 0.
// Version 3 numbers items by their order; versions 4 and 5 write the same
// ids on the declaration lines.  A bone belongs to the object before it.
std::string WriteLws(const std::vector<LwsWriterItem>& items, int version = 5);

}  // namespace host
