// BuildFrames: one frame per object item of the scene, the hierarchy of
// the host's parenting, the order in which the FrameList lists the frames,
// and their matrices from the items' motion at time 0.
#include <algorithm>
#include <string_view>
#include <unordered_map>

#include "scene/dff_exporter.h"
#include "scene/frame_name.h"
#include "scene/frame_placement.h"

namespace scene {
namespace {

// Layout names the item of one layer of a several-layer object
// "object:layer": the layer's name is what follows the last ':'.
col::ItemRole RoleOfItem(const char* itemName) {
  const std::string_view name = itemName != nullptr ? itemName : "";
  const std::size_t colon = name.rfind(':');
  return col::RoleOfItem(name, colon == std::string_view::npos ? std::string_view() : name.substr(colon + 1));
}

}  // namespace

void DffExporter::BuildFrames() {
  std::int32_t frameNumber = 0;
  for (LWItemID item = itemInfo->first(LWI_OBJECT, nullptr); item != nullptr;
       item = itemInfo->next(item)) {
    if (choices.keepItem && !choices.keepItem(item)) continue;
    if (choices.leaveOutCollisionAndShadow) {
      const col::ItemRole role = RoleOfItem(itemInfo->name(item));
      if (role != col::ItemRole::kVisual) {
        leftOutItems.push_back({item, role});
        continue;
      }
    }
    AddObjectItem(item, frameNumber++);
  }
  std::unordered_map<LWItemID, FrameNode*> frameOfItem;
  frameOfItem.reserve(frames.size());
  for (const auto& frame : frames) frameOfItem.emplace(frame->itemId, frame.get());
  FramePlacement placement(*itemInfo, frameOfItem, choices.modelRoot);

  LinkFrames(placement);
  AppendFrameGroup(rootFrames);
  if (orderedFrames.size() < frames.size()) BreakParentLoops();
  for (std::size_t i = 0; i < orderedFrames.size(); ++i) {
    orderedFrames[i]->index = static_cast<std::int32_t>(i);
  }
  // Parents come first in this order, so each frame's parent is placed.
  for (FrameNode* frame : orderedFrames) placement.Place(*frame);
}

void DffExporter::AddObjectItem(LWItemID item, std::int32_t frameNumber) {
  const bool hasPolygons = objectInfo->numPolygons(item) > 0;
  auto frame = std::make_unique<FrameNode>();
  frame->index = frameNumber;
  frame->objectInfo = objectInfo;
  frame->sceneObjects = sceneObjects;
  const char* itemName = itemInfo->name(item);
  const std::string name = hasPolygons ? MakeFrameName(objectInfo->filename(item), itemName)
                                       : std::string(itemName != nullptr ? itemName : "");
  frame->name = FitFrameName(name, itemNameText);
  if (frame->name != name && frameNameCuts.count++ == 0) {
    frameNameCuts.firstAsMade = name;
    frameNameCuts.firstAsWritten = frame->name;
  }
  frame->itemId = item;
  frame->parentItemId = itemInfo->parent(item);
  FrameNode* const node = frame.get();
  frames.push_back(std::move(frame));

  if (hasPolygons) {
    const auto meshIndex = static_cast<std::int32_t>(meshObjects.size());
    meshObjects.push_back(std::make_unique<MeshObject>(item, objectInfo, sceneObjects, surfaceFuncs,
                                                       imageList, textureFuncs, meshIndex, node,
                                                       objectInfo->filename(item)));
    meshObjects.back()->readColors = choices.vertexColors;
    meshObjects.back()->seeThroughLast = choices.seeThroughMaterialsLast;
  }
}

// A frame's parent is the frame of the nearest item above it that has one:
// lights, cameras, bones and items left out pass their children on.  A
// frame with no such item above it is a root.
void DffExporter::LinkFrames(FramePlacement& placement) {
  for (const auto& frame : frames) {
    FrameNode* const parent = placement.ParentFrame(frame->itemId);
    frame->parent = parent;
    if (parent != nullptr) {
      parent->children.push_back(frame.get());
    } else {
      rootFrames.push_back(frame.get());
    }
  }
}

// Depth first with a stack of sibling groups instead of recursion, so that
// parent chains of any length cannot overflow the call stack.  Pushing the
// children of the first sibling first makes those of the last come out
// first.
void DffExporter::AppendFrameGroup(const std::vector<FrameNode*>& roots) {
  std::vector<const std::vector<FrameNode*>*> pending{&roots};
  while (!pending.empty()) {
    const std::vector<FrameNode*>& group = *pending.back();
    pending.pop_back();
    orderedFrames.insert(orderedFrames.end(), group.begin(), group.end());
    for (FrameNode* frame : group) {
      if (!frame->children.empty()) pending.push_back(&frame->children);
    }
  }
}

// Layout never parents an item to itself or to its own descendant, but a
// host that did would leave the frames of that loop unreachable from any
// root: missing from the FrameList and written with stale indices.  The
// first unreached frame of each loop, in item order, is cut from its parent
// and made a root, which brings the rest of the loop in under it.  Until
// this runs, each frame's index is still its position in `frames`.
void DffExporter::BreakParentLoops() {
  std::vector<bool> reached(frames.size(), false);
  for (const FrameNode* frame : orderedFrames) reached[static_cast<std::size_t>(frame->index)] = true;

  for (const auto& frame : frames) {
    if (reached[static_cast<std::size_t>(frame->index)]) continue;
    auto& siblings = frame->parent->children;
    siblings.erase(std::find(siblings.begin(), siblings.end(), frame.get()));
    frame->parent = nullptr;
    rootFrames.push_back(frame.get());

    const std::size_t firstNew = orderedFrames.size();
    AppendFrameGroup(std::vector<FrameNode*>{frame.get()});
    for (std::size_t i = firstNew; i < orderedFrames.size(); ++i) {
      reached[static_cast<std::size_t>(orderedFrames[i]->index)] = true;
    }
  }
}

}  // namespace scene
