#include "scene/frame_placement.h"

#include <vector>

namespace scene {
namespace {

using placement::Affine;
using placement::Vec3;

// The model is the scene at rest at its start, whatever frame Layout shows.
constexpr LWTime kSampleTime = 0.0;

Vec3 Read(const LWItemInfo& itemInfo, LWItemID item, int parameter) {
  LWDVector value{};
  itemInfo.param(item, parameter, kSampleTime, value);
  return {value[0], value[1], value[2]};
}

Vec3 Negated(const Vec3& v) { return {-v[0], -v[1], -v[2]}; }

Affine ScalingOf(const placement::ItemMotion& motion) {
  Affine scaling;
  for (std::size_t i = 0; i < 3; ++i) scaling.linear[i][i] = motion.scaling[i];
  return scaling;
}

platform::Vec3f Single(const Vec3& v) {
  return {static_cast<float>(v[0]), static_cast<float>(v[1]), static_cast<float>(v[2])};
}

// A transform in the game's axes as a matrix of the row-vector convention
// the frames are stored in: the rows are the images of x, y and z.
std::unique_ptr<platform::Matrix4> RowMatrix(const placement::Matrix3& linear, const Vec3& translation) {
  auto matrix = std::make_unique<platform::Matrix4>(platform::Matrix4::Identity());
  for (std::size_t r = 0; r < 3; ++r) {
    for (std::size_t c = 0; c < 3; ++c) matrix->m[r][c] = static_cast<float>(linear[c][r]);
    matrix->m[3][r] = static_cast<float>(translation[r]);
  }
  return matrix;
}

}  // namespace

placement::ItemMotion ReadItemMotion(const LWItemInfo& itemInfo, LWItemID item) {
  placement::ItemMotion motion;
  motion.position = Read(itemInfo, item, LWIP_POSITION);
  motion.rotation = Read(itemInfo, item, LWIP_ROTATION);
  motion.scaling = Read(itemInfo, item, LWIP_SCALING);
  motion.pivot = Read(itemInfo, item, LWIP_PIVOT);
  motion.pivotRotation = Read(itemInfo, item, LWIP_PIVOT_ROT);
  return motion;
}

placement::ItemMotion AsModelRoot(placement::ItemMotion motion) {
  motion.position = {0, 0, 0};
  motion.rotation = {0, 0, 0};
  motion.pivotRotation = {0, 0, 0};
  return motion;
}

FramePlacement::FramePlacement(const LWItemInfo& itemInfo,
                               const std::unordered_map<LWItemID, FrameNode*>& frameOfItem, LWItemID modelRoot)
    : itemInfo_(itemInfo), frameOfItem_(frameOfItem), modelRoot_(modelRoot) {}

const placement::ItemMotion& FramePlacement::Motion(LWItemID item) {
  const auto known = motions_.find(item);
  if (known != motions_.end()) return known->second;
  const placement::ItemMotion motion = ReadItemMotion(itemInfo_, item);
  return motions_.emplace(item, IsModelRoot(item) ? AsModelRoot(motion) : motion).first->second;
}

// Climbs from `item` to the first item that has a frame or is known
// already, then fills in the items passed on the way down.  An item met
// twice on one climb closes a parent loop, which a damaged scene can hold:
// the loop is cut there, as if that item hung in the world.
const FramePlacement::Above& FramePlacement::AboveItem(LWItemID item) {
  static const Above kWorld{};
  std::vector<LWItemID> climbed;
  std::unordered_set<LWItemID> onClimb;
  Above start = kWorld;
  for (LWItemID at = item; at != nullptr; at = itemInfo_.parent(at)) {
    if (const auto known = above_.find(at); known != above_.end()) {
      start = known->second;
      break;
    }
    if (const auto framed = frameOfItem_.find(at); framed != frameOfItem_.end()) {
      start = Above{framed->second, Affine{}};
      break;
    }
    if (!onClimb.insert(at).second) break;
    climbed.push_back(at);
    // Nothing above a model root moves its model.
    if (IsModelRoot(at)) break;
  }
  if (climbed.empty()) {
    if (item == nullptr) return kWorld;
    const auto known = above_.find(item);
    if (known != above_.end()) return known->second;
    return above_.emplace(item, start).first->second;
  }
  for (auto at = climbed.rbegin(); at != climbed.rend(); ++at) {
    start.toFrameObject = placement::Compose(start.toFrameObject, placement::ItemToParent(Motion(*at)));
    above_.emplace(*at, start);
  }
  return above_.at(item);
}

bool FramePlacement::IsModelRoot(LWItemID item) const { return modelRoot_ != nullptr && item == modelRoot_; }

// The game keeps a map model's geometry and drops its frame, so the model
// root's scaling goes into its vertices and its frame stays the identity.
void FramePlacement::PlaceModelRoot(FrameNode& frame, const Affine& objectToModel) {
  const Affine game = placement::ToGameAxes(objectToModel);
  const Affine identity;
  worldOfFrame_[&frame] = identity;
  frame.rotationMatrix = RowMatrix(identity.linear, {0, 0, 0});
  frame.position = {0, 0, 0};
  frame.worldMatrix = RowMatrix(identity.linear, {0, 0, 0});
  frame.vertexMatrix = RowMatrix(game.linear, game.translation);
}

FrameNode* FramePlacement::ParentFrame(LWItemID item) {
  if (IsModelRoot(item)) return nullptr;
  return AboveItem(itemInfo_.parent(item)).frame;
}

void FramePlacement::Place(FrameNode& frame) {
  const placement::ItemMotion& motion = Motion(frame.itemId);
  static const Above kWorld{};
  const Above& above = IsModelRoot(frame.itemId) ? kWorld : AboveItem(frame.parentItemId);
  // From the frame's vertex space (points less its pivot) into its
  // parent's (the parent's points less the parent's pivot).
  Affine local = placement::Compose(above.toFrameObject, placement::ItemToParent(motion));
  local = placement::Compose(local, placement::Translation(motion.pivot));
  if (frame.parent != nullptr) {
    local = placement::Compose(placement::Translation(Negated(Motion(frame.parent->itemId).pivot)), local);
    if (IsModelRoot(frame.parent->itemId)) local = placement::Compose(ScalingOf(Motion(modelRoot_)), local);
  }
  if (IsModelRoot(frame.itemId)) {
    return PlaceModelRoot(frame, placement::Compose(local, placement::Translation(Negated(motion.pivot))));
  }
  const Affine game = placement::ToGameAxes(local);
  const auto parentWorld = frame.parent != nullptr ? worldOfFrame_.find(frame.parent) : worldOfFrame_.end();
  const Affine world = parentWorld != worldOfFrame_.end() ? placement::Compose(parentWorld->second, game) : game;
  worldOfFrame_[&frame] = world;

  frame.rotationMatrix = RowMatrix(game.linear, {0, 0, 0});
  frame.position = Single(game.translation);
  frame.worldMatrix = RowMatrix(world.linear, world.translation);
  const Vec3 pivot = placement::ToGameAxes(motion.pivot);
  frame.vertexMatrix = std::make_unique<platform::Matrix4>(
      platform::MatrixTranslation(static_cast<float>(-pivot[0]), static_cast<float>(-pivot[1]),
                                  static_cast<float>(-pivot[2])));
}

}  // namespace scene
