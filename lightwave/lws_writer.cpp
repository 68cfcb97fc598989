#include "lightwave/lws_writer.h"

#include <cstdint>
#include <cstdio>
#include <map>
#include <stdexcept>

namespace host {
namespace {

constexpr double kDegreesPerRadian = 180.0 / 3.14159265358979323846;

std::string Number(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.17g", value);
  return text;
}

std::string Hex(std::uint32_t id) {
  char text[12];
  std::snprintf(text, sizeof text, "%08X", id);
  return text;
}

std::string Triple(const Vec3& v, double factor) {
  return Number(v[0] * factor) + " " + Number(v[1] * factor) + " " + Number(v[2] * factor);
}

// The ids Layout gives items: a type digit, then the item's ordinal among
// its kind (nulls count as objects); bones add their ordinal within their
// object above the object's ordinal.
std::vector<std::uint32_t> ItemIds(const std::vector<LwsWriterItem>& items) {
  std::vector<std::uint32_t> ids;
  std::uint32_t objects = 0, lights = 0, cameras = 0;
  std::map<std::uint32_t, std::uint32_t> bonesPerObject;
  std::uint32_t lastObject = 0;
  bool anyObject = false;
  for (const LwsWriterItem& item : items) {
    switch (item.kind) {
      case LwsItemKind::kObject:
      case LwsItemKind::kNull:
        lastObject = objects++;
        anyObject = true;
        ids.push_back(0x10000000u | lastObject);
        break;
      case LwsItemKind::kLight: ids.push_back(0x20000000u | lights++); break;
      case LwsItemKind::kCamera: ids.push_back(0x30000000u | cameras++); break;
      case LwsItemKind::kBone:
        if (!anyObject) throw std::invalid_argument("a bone needs an object before it");
        ids.push_back(0x40000000u | bonesPerObject[lastObject]++ << 16 | lastObject);
        break;
    }
  }
  return ids;
}

std::string Declaration(const LwsWriterItem& item, const std::string& id) {
  switch (item.kind) {
    case LwsItemKind::kObject:
      return "LoadObjectLayer " + std::to_string(item.layer) + id + " " + item.objectPath + "\n";
    case LwsItemKind::kNull: return "AddNullObject" + id + " " + item.name + "\n";
    case LwsItemKind::kLight: return "AddLight" + id + "\nLightName " + item.name + "\n";
    case LwsItemKind::kCamera: return "AddCamera" + id + "\nCameraName " + item.name + "\n";
    case LwsItemKind::kBone: return "AddBone" + id + "\nBoneName " + item.name + "\n";
  }
  return {};
}

std::string MotionKeyword(LwsItemKind kind) {
  switch (kind) {
    case LwsItemKind::kLight: return "LightMotion";
    case LwsItemKind::kCamera: return "CameraMotion";
    case LwsItemKind::kBone: return "BoneMotion";
    case LwsItemKind::kObject:
    case LwsItemKind::kNull: break;
  }
  return "ObjectMotion";
}

std::string MotionBlock(const LwsWriterItem& item) {
  const double values[] = {item.position[0], item.position[1], item.position[2], item.rotation[0], item.rotation[1],
                           item.rotation[2], item.scale[0],    item.scale[1],    item.scale[2]};
  std::string text = MotionKeyword(item.kind) + "\nNumChannels 9\n";
  for (int c = 0; c < 9; ++c) {
    text += "Channel " + std::to_string(c) + "\n{ Envelope\n  1\n  Key " + Number(values[c]) +
            " 0 0 0 0 0 0 0 0\n  Behaviors 1 1\n}\n";
  }
  return text;
}

std::string LightLines(const LwsLight& light) {
  return "LightColor " + Triple(light.color, 1.0) + "\nLightIntensity " + Number(light.intensity) +
         "\nLightType " + std::to_string(light.type) + "\nLightFalloffType " + std::to_string(light.falloff) +
         "\nLightRange " + Number(light.range) + "\n";
}

}  // namespace

std::string WriteLws(const std::vector<LwsWriterItem>& items, int version) {
  if (version < 3 || version > 5) throw std::invalid_argument("scene versions 3 to 5 can be written");
  const std::vector<std::uint32_t> ids = ItemIds(items);
  std::string text = "LWSC\n" + std::to_string(version) + "\n\nFirstFrame 1\nLastFrame 60\nFrameStep 1\n" +
                     "FramesPerSecond 30\n";
  for (std::size_t i = 0; i < items.size(); ++i) {
    const LwsWriterItem& item = items[i];
    text += "\n" + Declaration(item, version >= 4 ? " " + Hex(ids[i]) : "");
    text += MotionBlock(item);
    if (item.pivot) text += "PivotPosition " + Triple(*item.pivot, 1.0) + "\n";
    if (item.pivotRotation) text += "PivotRotation " + Triple(*item.pivotRotation, kDegreesPerRadian) + "\n";
    if (item.parent >= 0) text += "ParentItem " + Hex(ids.at(static_cast<std::size_t>(item.parent))) + "\n";
    if (item.kind == LwsItemKind::kLight) text += LightLines(item.light);
  }
  return text;
}

}  // namespace host
