#include "host/lws_scene_builder.h"

#include <cstdio>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <system_error>
#include <utility>
#include <vector>

#include "host/item_motion.h"
#include "host/lwo2_scene.h"
#include "lightwave/file_search.h"
#include "lightwave/lwo_reader.h"
#include "platform/path_rules.h"

namespace host {
namespace {

// A channel without an envelope is at rest: 0, or 1 for a scale.
double ChannelAtTimeZero(const LwsItem& item, std::size_t channel) {
  const std::optional<Envelope>& envelope = item.channels[channel];
  if (envelope) return envelope->Evaluate(0.0);
  return channel >= 6 ? 1.0 : 0.0;
}

ItemType TypeOf(LwsItemKind kind) {
  switch (kind) {
    case LwsItemKind::kLight: return ItemType::kLight;
    case LwsItemKind::kCamera: return ItemType::kCamera;
    case LwsItemKind::kBone: return ItemType::kBone;
    case LwsItemKind::kObject:
    case LwsItemKind::kNull: break;
  }
  return ItemType::kObject;
}

std::string HexId(std::uint32_t id) {
  char text[12];
  std::snprintf(text, sizeof text, "%08X", id);
  return text;
}

class LwsSceneBuilder {
 public:
  LwsSceneBuilder(const LwsDocument& document, const std::string& scenePath, const LoadOptions& options)
      : document_(document), scenePath_(scenePath), options_(options) {}
  Scene Build();

 private:
  [[noreturn]] void Fail(int line, const std::string& what) const {
    throw LoadError(scenePath_ + ":" + std::to_string(line) + ": " + what);
  }
  void AddItem(const LwsItem& source);
  void AddObjectLayer(const LwsItem& source, Item& item, LocalPose& pose);
  LoadedObject& Load(const LwsItem& source);
  std::string FindObjectFile(const LwsItem& source) const;
  void LinkParents();

  const LwsDocument& document_;
  const std::string& scenePath_;
  const LoadOptions& options_;
  Scene scene_;
  std::vector<LocalPose> poses_;
  std::map<std::string, LoadedObject> objects_;  // by the path they were found at
};

Scene LwsSceneBuilder::Build() {
  scene_.name = platform::StripPath(scenePath_);
  scene_.filename = scenePath_;
  for (const LwsItem& item : document_.items) AddItem(item);
  LinkParents();
  SetMotionsAtTimeZero(scene_.items, poses_);
  return std::move(scene_);
}

void LwsSceneBuilder::AddItem(const LwsItem& source) {
  Item item;
  item.type = TypeOf(source.kind);
  item.name = source.name;
  LocalPose pose;
  if (source.kind == LwsItemKind::kObject) AddObjectLayer(source, item, pose);
  if (source.kind == LwsItemKind::kLight) {
    item.light = {source.light.type, source.light.color, source.light.intensity, source.light.falloff,
                  source.light.range};
  }
  pose.position = {ChannelAtTimeZero(source, 0), ChannelAtTimeZero(source, 1), ChannelAtTimeZero(source, 2)};
  pose.rotation = {ChannelAtTimeZero(source, 3), ChannelAtTimeZero(source, 4), ChannelAtTimeZero(source, 5)};
  pose.scale = {ChannelAtTimeZero(source, 6), ChannelAtTimeZero(source, 7), ChannelAtTimeZero(source, 8)};
  if (source.pivot) pose.pivot = *source.pivot;
  if (source.pivotRotation) pose.pivotRotation = *source.pivotRotation;
  scene_.items.push_back(std::move(item));
  poses_.push_back(pose);
}

// The layer's pivot stands until the scene sets one of its own: Layout
// writes PivotPosition only where it differs from zero.
void LwsSceneBuilder::AddObjectLayer(const LwsItem& source, Item& item, LocalPose& pose) {
  LoadedObject& loaded = Load(source);
  const std::vector<Lwo2Layer>& layers = loaded.object.layers;
  std::size_t index = 0;
  while (index < layers.size() && source.layer >= 0 && layers[index].number != source.layer) ++index;
  if (index == layers.size()) {
    std::string numbers;
    for (const Lwo2Layer& layer : layers) numbers += (numbers.empty() ? "" : ", ") + std::to_string(layer.number + 1);
    if (numbers.empty()) Fail(source.line, "the object file '" + loaded.filename + "' has no layers");
    Fail(source.line, "the object file '" + loaded.filename + "' has no layer " + std::to_string(source.layer + 1) +
                          " (its layers are " + numbers + ")");
  }
  item.name = LayerItemName(loaded.filename, loaded.object, layers[index]);
  item.objectFile = loaded.objectFile;
  item.mesh = UseLayerMesh(scene_, loaded, index);
  pose.pivot = layers[index].pivot;
}

LoadedObject& LwsSceneBuilder::Load(const LwsItem& source) {
  const std::string path = FindObjectFile(source);
  const auto known = objects_.find(path);
  if (known != objects_.end()) return known->second;
  try {
    Lwo2Object object = ReadObjectFile(path, options_);
    return objects_.emplace(path, AddObjectFile(scene_, std::move(object), path)).first->second;
  } catch (const LoadError& error) {
    Fail(source.line, error.what());
  }
}

std::string LwsSceneBuilder::FindObjectFile(const LwsItem& source) const {
  const FileSearch search{options_.contentDirectory, std::filesystem::path(scenePath_).parent_path().string(),
                          "Objects"};
  std::vector<std::string> tried;
  if (std::optional<std::string> found = FindFile(source.objectPath, search, tried)) return *found;
  std::string list;
  for (const std::string& place : tried) list += "\n  " + place;
  Fail(source.line, "the object file '" + source.objectPath + "' was not found; tried:" + list +
                        "\nplace it there, or give the content directory it is relative to");
}

void LwsSceneBuilder::LinkParents() {
  std::map<std::uint32_t, std::size_t> byId;
  for (std::size_t i = 0; i < document_.items.size(); ++i) {
    const auto [at, added] = byId.emplace(document_.items[i].id, i);
    if (!added) {
      Fail(document_.items[i].line, "item id " + HexId(document_.items[i].id) + " is also used on line " +
                                        std::to_string(document_.items[at->second].line));
    }
  }
  for (std::size_t i = 0; i < document_.items.size(); ++i) {
    const LwsItem& source = document_.items[i];
    if (source.parentId) {
      const auto parent = byId.find(*source.parentId);
      if (parent == byId.end()) {
        Fail(source.parentLine, "the parent item " + HexId(*source.parentId) + " is not in the scene");
      }
      scene_.items[i].parent = static_cast<int>(parent->second);
    } else if (source.kind == LwsItemKind::kBone) {
      scene_.items[i].parent = source.owner;
    }
  }
  if (const std::optional<std::size_t> looped = FindParentCycle(scene_.items)) {
    const LwsItem& source = document_.items[*looped];
    Fail(source.parentLine, "the parents of '" + scene_.items[*looped].name + "' lead back to it");
  }
}

}  // namespace

Scene SceneFromLws(const LwsDocument& document, const std::string& scenePath, const LoadOptions& options) {
  return LwsSceneBuilder(document, scenePath, options).Build();
}

}  // namespace host
