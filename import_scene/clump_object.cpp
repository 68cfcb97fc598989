#include "import_scene/clump_object.h"

#include <map>

#include "import_scene/collision_object.h"
#include "import_scene/frame_turn.h"
#include "import_scene/image_names.h"
#include "import_scene/item_order.h"
#include "import_scene/layer_mesh.h"
#include "import_scene/read_part.h"
#include "import_scene/surfaces.h"
#include "import_scene/widened.h"
#include "lightwave/lwo2_writer.h"
#include "placement/lightwave_placement.h"

namespace import_scene {
namespace {

constexpr int kHiddenLayer = 1;

// Where each frame puts its points in the clump, in Layout's axes: the
// items of the model's scene composed up their parent chains.
std::vector<placement::Affine> FramesInClump(const import::Model& model) {
  std::vector<placement::Affine> placed(model.frames.size());
  for (std::size_t f = 0; f < model.frames.size(); ++f) {
    const placement::Affine own = placement::ItemToParent(FrameMotion(model.frames[f]));
    const std::int32_t parent = model.frames[f].parent;
    // dffinfo calls a frame whose parent is not an earlier one damaged, and
    // the import refuses it, so the parent is placed already.
    placed[f] = parent < 0 ? own : placement::Compose(placed[static_cast<std::size_t>(parent)], own);
  }
  return placed;
}

bool IsPrelit(const import::Model& model) {
  for (const import::Geometry& geometry : model.geometries) {
    if (!geometry.dayColors.empty()) return true;
  }
  return false;
}

class ClumpBuilder {
 public:
  ClumpBuilder(const import::Model& model, std::vector<std::string>& warnings)
      : model_(model),
        warnings_(warnings),
        placed_(FramesInClump(model)),
        images_(model.textures),
        layerOfFrame_(model.frames.size(), -1) {}

  ClumpObject Run() {
    std::map<std::size_t, std::vector<std::size_t>> atomicsOfFrame;
    for (std::size_t a = 0; a < model_.atomics.size(); ++a) {
      atomicsOfFrame[static_cast<std::size_t>(model_.atomics[a].frame)].push_back(a);
    }
    // As the scene lists its items: each frame's first atomic in item
    // order, then the further atomics of a frame, under its first.
    std::vector<std::size_t> extra;
    for (std::size_t f : ItemOrder(model_)) {
      const std::vector<std::size_t>& atomics = atomicsOfFrame[f];
      if (atomics.empty()) continue;
      layerOfFrame_[f] = AddAtomicLayer(atomics[0], NearestLayerAbove(f));
      extra.insert(extra.end(), atomics.begin() + 1, atomics.end());
    }
    for (std::size_t a : extra) {
      AddAtomicLayer(a, layerOfFrame_[static_cast<std::size_t>(model_.atomics[a].frame)]);
    }
    AddCollisionLayers();
    // A loader hands over at least one layer, even of a model without
    // geometry.
    if (object_.layers.empty()) object_.layers.emplace_back();
    WarnOfImages();
    ClumpObject result;
    for (const host::Lwo2Surface& surface : object_.surfaces)
      result.surfaceBlocks.push_back(host::WriteSurfaceBlock(surface));
    result.object = std::move(object_);
    return result;
  }

 private:
  int NearestLayerAbove(std::size_t frame) const {
    for (std::int32_t f = model_.frames[frame].parent; f >= 0; f = model_.frames[static_cast<std::size_t>(f)].parent) {
      if (layerOfFrame_[static_cast<std::size_t>(f)] >= 0) return layerOfFrame_[static_cast<std::size_t>(f)];
    }
    return -1;
  }

  int AddAtomicLayer(std::size_t atomic, int parent) {
    const import::Atomic& a = model_.atomics[atomic];
    const import::Geometry& geometry = model_.geometries[static_cast<std::size_t>(a.geometry)];
    const placement::Affine& place = placed_[static_cast<std::size_t>(a.frame)];
    host::Lwo2Layer layer;
    layer.number = static_cast<int>(object_.layers.size());
    layer.name = model_.frames[static_cast<std::size_t>(a.frame)].name;
    layer.parent = parent;
    layer.pivot = place.translation;
    std::vector<std::string> nameWarnings;  // the image files' names: the object names none
    layer.mesh = LayerMesh(
        geometry, AddSurfaces(geometry.materials, !geometry.dayColors.empty(), images_, object_, nameWarnings));
    for (std::array<float, 3>& point : layer.mesh.points) {
      const placement::Vec3 p = placement::Apply(place, Widened(point));
      point = {static_cast<float>(p[0]), static_cast<float>(p[1]), static_cast<float>(p[2])};
    }
    object_.layers.push_back(std::move(layer));
    return object_.layers.back().number;
  }

  void AddCollisionLayers() {
    if (!model_.collision) return;
    host::Lwo2Object collision = CollisionObject(*model_.collision);
    const bool prelit = IsPrelit(model_);
    for (host::Lwo2Layer& layer : collision.layers) {
      if (layer.mesh.polygons.empty()) continue;
      layer.number = static_cast<int>(object_.layers.size());
      if (!prelit) layer.flags |= kHiddenLayer;
      object_.layers.push_back(std::move(layer));
    }
    for (host::Lwo2Surface& surface : collision.surfaces) object_.surfaces.push_back(std::move(surface));
  }

  // The surfaces keep their textures' names; the images stay out.
  void WarnOfImages() {
    std::string first;
    for (host::Lwo2Surface& surface : object_.surfaces) {
      if (first.empty() && !surface.colorLayers.empty()) first = surface.name;
      surface.colorLayers.clear();
      surface.reflectionClip.reset();
    }
    object_.clips.clear();
    if (first.empty()) return;
    warnings_.push_back("the surfaces are named after their textures (\"" + first +
                        "\" the first) but carry no images, which a loaded object cannot bring: open the model "
                        "with Load Scene (the \"DFF Scene\" converter) for its textures");
  }

  const import::Model& model_;
  std::vector<std::string>& warnings_;
  std::vector<placement::Affine> placed_;
  ImageNames images_;
  std::vector<int> layerOfFrame_;
  host::Lwo2Object object_;
};

}  // namespace

ClumpObject ToClumpObject(const import::Model& model, std::vector<std::string>& warnings) {
  return ClumpBuilder(model, warnings).Run();
}

std::optional<ClumpObject> LoadClumpObject(const std::string& dff, Conversion& conversion) {
  const std::optional<import::Model> model = ReadModel(dff, std::nullopt, conversion);
  if (!model) return std::nullopt;
  return ToClumpObject(*model, conversion.warnings);
}

}  // namespace import_scene
