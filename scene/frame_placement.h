// Where each frame stands: its matrix, position and vertex offset, so that
// the game, composing the frames as it does, puts every vertex where
// Layout shows it (in the game's axes).
//
// A frame's origin is its item's pivot: its vertices are the object's
// points less the pivot, its matrix is the item's scaling, pivot rotation
// and rotation, and its position is the item's position less its parent's
// pivot.  Items without a frame of their own (lights, cameras, bones,
// items a command leaves out) still move what hangs below them, as in
// Layout: their transforms are folded into the frames of their children.
#pragma once

#include <unordered_map>
#include <unordered_set>

#include "lwsdk/item_info.h"
#include "placement/lightwave_placement.h"
#include "scene/frame_node.h"

namespace scene {

// The item's motion parameters at rest, at the start of the scene, as the
// host reports them.
placement::ItemMotion ReadItemMotion(const LWItemInfo& itemInfo, LWItemID item);

// What a model root keeps of its motion: its scaling and pivot, standing
// unturned at the origin (BuildChoices::modelRoot).
placement::ItemMotion AsModelRoot(placement::ItemMotion motion);

class FramePlacement {
 public:
  // `frameOfItem` maps every item that has a frame to it; both tables are
  // borrowed.  A `modelRoot` stands at rest at the origin with only its
  // scaling, whatever is above it (BuildChoices::modelRoot).
  FramePlacement(const LWItemInfo& itemInfo, const std::unordered_map<LWItemID, FrameNode*>& frameOfItem,
                 LWItemID modelRoot = nullptr);

  // The nearest ancestor of the item that has a frame, passing over the
  // items that have none; null when there is none.
  FrameNode* ParentFrame(LWItemID item);

  // Sets every matrix and the position of the frame.  Its parent, when it
  // has one, must be placed already.
  void Place(FrameNode& frame);

 private:
  // An item's object space as seen from the nearest item above it with a
  // frame: that frame (null for the world) and the way there.
  struct Above {
    FrameNode* frame = nullptr;
    placement::Affine toFrameObject;
  };

  const placement::ItemMotion& Motion(LWItemID item);
  bool IsModelRoot(LWItemID item) const;
  void PlaceModelRoot(FrameNode& frame, const placement::Affine& objectToModel);
  // What stands above the object space of `item`, which may be null.
  const Above& AboveItem(LWItemID item);

  const LWItemInfo& itemInfo_;
  const std::unordered_map<LWItemID, FrameNode*>& frameOfItem_;
  LWItemID modelRoot_;
  std::unordered_map<LWItemID, placement::ItemMotion> motions_;
  std::unordered_map<LWItemID, Above> above_;
  // Each placed frame's vertex space in the world, in the game's axes.
  std::unordered_map<const FrameNode*, placement::Affine> worldOfFrame_;
};

}  // namespace scene
