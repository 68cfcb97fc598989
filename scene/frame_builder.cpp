// BuildFrames: one frame per object item of the scene, its matrices from the
// item's motion at time 0, the hierarchy of the host's parenting, and the
// order in which the FrameList lists the frames.
#include <algorithm>
#include <string_view>
#include <unordered_map>

#include "platform/matrix.h"
#include "scene/dff_exporter.h"
#include "scene/frame_name.h"

namespace scene {
namespace {

using platform::Matrix4;
using platform::Vec3f;

// The model is the scene at rest at its start, whatever frame Layout shows.
constexpr LWTime kSampleTime = 0.0;

// The item's motion parameters, as the host reports them.
struct ItemMotion {
  LWDVector position{};       // relative to the parent
  LWDVector worldPosition{};
  LWDVector rotation{};       // heading, pitch, bank in radians
  LWDVector scaling{};
  LWDVector pivot{};
  LWDVector pivotRotation{};  // heading, pitch, bank in radians
};

ItemMotion ReadMotion(const LWItemInfo& itemInfo, LWItemID item) {
  ItemMotion motion;
  itemInfo.param(item, LWIP_POSITION, kSampleTime, motion.position);
  itemInfo.param(item, LWIP_W_POSITION, kSampleTime, motion.worldPosition);
  itemInfo.param(item, LWIP_ROTATION, kSampleTime, motion.rotation);
  itemInfo.param(item, LWIP_SCALING, kSampleTime, motion.scaling);
  itemInfo.param(item, LWIP_PIVOT, kSampleTime, motion.pivot);
  itemInfo.param(item, LWIP_PIVOT_ROT, kSampleTime, motion.pivotRotation);
  return motion;
}

float Single(double value) { return static_cast<float>(value); }

// Layout's (x, y, z) is the file's (-x, -z, y).
Vec3f ToOutputAxes(const LWDVector v) { return Vec3f{-Single(v[0]), -Single(v[2]), Single(v[1])}; }

// Heading turns about Layout's y axis, which is the file's z axis; pitch
// and bank follow the same exchange of axes.
Matrix4 RotationOf(const LWDVector headingPitchBank) {
  const float heading = Single(headingPitchBank[0]);
  const float pitch = Single(headingPitchBank[1]);
  const float bank = Single(headingPitchBank[2]);
  return platform::MatrixRotationYawPitchRoll(-heading, bank, pitch);
}

Matrix4 ScalingOf(const LWDVector scaling) {
  return platform::MatrixScaling(Single(scaling[0]), Single(scaling[2]), Single(scaling[1]));
}

std::unique_ptr<Matrix4> Own(const Matrix4& matrix) { return std::make_unique<Matrix4>(matrix); }

// Every matrix of the walk.  A child's vertex matrix is replaced once the
// whole hierarchy is known.
void SetFrameMatrices(FrameNode& frame, const ItemMotion& motion) {
  const platform::Quaternion rotation = platform::QuaternionRotationMatrix(RotationOf(motion.rotation));
  const Matrix4 scaling = ScalingOf(motion.scaling);
  const Vec3f worldPosition = ToOutputAxes(motion.worldPosition);
  const Vec3f pivot = ToOutputAxes(motion.pivot);

  frame.position = ToOutputAxes(motion.position);
  frame.rotationMatrix = Own(platform::MatrixMultiply(
      platform::MatrixAffineTransformation(1.0f, &pivot, rotation, nullptr), scaling));
  frame.worldMatrix = Own(platform::MatrixMultiply(
      platform::MatrixAffineTransformation(1.0f, &pivot, rotation, &worldPosition), scaling));
  frame.vertexMatrix = Own(platform::MatrixInverse(
      platform::MatrixMultiply(platform::MatrixTranslation(pivot.x, pivot.y, pivot.z),
                               RotationOf(motion.pivotRotation))));
}

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
    if (choices.leaveOutCollisionAndShadow) {
      const col::ItemRole role = RoleOfItem(itemInfo->name(item));
      if (role != col::ItemRole::kVisual) {
        leftOutItems.push_back({item, role});
        continue;
      }
    }
    AddObjectItem(item, frameNumber++);
  }
  LinkFrames();
  AppendFrameGroup(rootFrames);
  if (orderedFrames.size() < frames.size()) BreakParentLoops();
  for (std::size_t i = 0; i < orderedFrames.size(); ++i) {
    orderedFrames[i]->index = static_cast<std::int32_t>(i);
  }
  SetChildVertexMatrices();
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
  }
  SetFrameMatrices(*node, ReadMotion(*itemInfo, item));
}

// A frame's parent is the first frame of its parent item.  Items parented
// to nothing, or to a light, camera or bone, have no frame as parent and
// become roots.
void DffExporter::LinkFrames() {
  std::unordered_map<LWItemID, FrameNode*> firstFrameOfItem;
  firstFrameOfItem.reserve(frames.size());
  for (const auto& frame : frames) firstFrameOfItem.emplace(frame->itemId, frame.get());

  for (const auto& frame : frames) {
    const auto found = frame->parentItemId != nullptr ? firstFrameOfItem.find(frame->parentItemId)
                                                      : firstFrameOfItem.end();
    if (found != firstFrameOfItem.end()) {
      frame->parent = found->second;
      found->second->children.push_back(frame.get());
    } else {
      frame->parent = nullptr;
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

// A child's vertex matrix takes its vertices from its own world transform
// into its parent's: W * inverse(P), formed as the inverse of P * inverse(W).
void DffExporter::SetChildVertexMatrices() {
  for (FrameNode* frame : orderedFrames) {
    if (frame->parent == nullptr) continue;
    Matrix4 scratch = platform::MatrixInverse(*frame->worldMatrix);
    scratch = platform::MatrixMultiply(*frame->parent->worldMatrix, scratch);
    *frame->vertexMatrix = platform::MatrixInverse(scratch);
  }
}

}  // namespace scene
