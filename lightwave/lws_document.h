// A scene file as read, before its object files are loaded: the items in
// file order with their declarations, parents, motion channels and pivots.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "lightwave/lws_envelope.h"
#include "lightwave/records.h"

namespace host {

enum class LwsItemKind { kObject, kNull, kLight, kCamera, kBone };

// Motion channels in scene-file order: position x, y, z; heading, pitch,
// bank (radians); scale x, y, z.
constexpr int kChannelCount = 9;

// A light's properties as the scene writes them; Layout's values for a new
// light where a line is missing.  Values given as envelopes are taken at
// time 0.
struct LwsLight {
  int type = 0;  // LightType: 0 distant, 1 point, 2 spot, 3 linear, 4 area
  Vec3 color{1, 1, 1};  // LightColor, without the intensity
  double intensity = 1.0;  // LightIntensity
  int falloff = 0;  // LightFalloffType: 0 off, 1 linear, 2 and 3 inverse distance
  double range = 1.0;  // LightRange, in metres
};

struct LwsItem {
  LwsItemKind kind = LwsItemKind::kObject;
  int line = 0;  // the declaration's line number
  // Nulls, lights, cameras and bones: the name the scene gives.
  std::string name;
  // Objects: the path as the scene writes it, and the LAYR number of the
  // layer loaded (the scene counts layers from 1, LAYR from 0); -1 when the
  // scene loads the whole object without naming a layer.
  std::string objectPath;
  int layer = -1;
  // The id that ParentItem lines use: the one written on the declaration
  // line, or the one Layout derives from the item's position.
  std::uint32_t id = 0;
  std::optional<std::uint32_t> parentId;
  int parentLine = 0;
  int owner = -1;  // bones: index of the object they belong to
  std::array<std::optional<Envelope>, kChannelCount> channels;
  std::optional<Vec3> pivot;          // PivotPosition
  std::optional<Vec3> pivotRotation;  // PivotRotation, in radians
  LwsLight light;  // lights only
};

struct LwsDocument {
  int version = 0;
  std::vector<LwsItem> items;
};

}  // namespace host
