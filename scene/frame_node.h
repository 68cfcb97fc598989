// One frame of the exported hierarchy.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "lwsdk/object_info.h"
#include "platform/matrix.h"

namespace scene {

struct FrameNode {
  // Position in the exporter's orderedFrames, which is the frame's index in
  // the FrameList.  Holds the creation number until the order is fixed.
  std::int32_t index = 0;
  const LWObjectInfo* objectInfo = nullptr;
  const LWObjectFuncs* sceneObjects = nullptr;
  // The item's scaling, then its pivot rotation, then its rotation (with
  // those of any items without a frame between it and its parent frame);
  // its upper 3x3 is what the FrameList carries.
  std::unique_ptr<platform::Matrix4> rotationMatrix;
  // What the geometry build applies to the object's vertices: the move
  // that puts the item's pivot at the frame's origin.
  std::unique_ptr<platform::Matrix4> vertexMatrix;
  // The frame's space in the world, as the game composes the frames.
  std::unique_ptr<platform::Matrix4> worldMatrix;
  // The frame's origin in its parent frame's space, in output axes.
  platform::Vec3f position;
  FrameNode* parent = nullptr;  // not owned; null for a root frame
  std::string name;
  LWItemID itemId = nullptr;
  LWItemID parentItemId = nullptr;  // as the host reports it, of any item type
  std::vector<FrameNode*> children;  // not owned, in item order
};

}  // namespace scene
