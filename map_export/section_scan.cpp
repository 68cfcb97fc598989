#include "map_export/section_scan.h"

#include <array>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <map>
#include <set>
#include <string_view>
#include <tuple>
#include <unordered_map>
#include <unordered_set>

#include "col/item_roles.h"
#include "lwsdk/item_info.h"
#include "lwsdk/object_info.h"
#include "map_export/nearest_instance.h"
#include "platform/path_rules.h"
#include "scene/frame_placement.h"
#include "section/img_archive.h"
#include "section/instance_rotation.h"
#include "section/section_limits.h"

namespace mapexport {
namespace {

using placement::Affine;
using placement::Vec3;

// A rotation part further than this from a rotation is a scaling the game
// cannot apply to an instance.
constexpr double kRotationTolerance = 1e-4;

std::string ItemName(const LWItemInfo& info, LWItemID item) {
  const char* name = info.name(item);
  return name != nullptr ? name : "";
}

std::string ObjectFile(const scene::HostServices& services, LWItemID item) {
  const char* file = services.objectInfo->filename(item);
  return file != nullptr ? file : "";
}

// The item's object space in the world (Layout's axes), up its parents;
// a parent loop, which only a damaged scene holds, ends the climb.
Affine ObjectToWorld(const LWItemInfo& info, LWItemID item) {
  Affine world;
  std::unordered_set<LWItemID> seen;
  for (LWItemID at = item; at != nullptr && seen.insert(at).second; at = info.parent(at)) {
    world = placement::Compose(placement::ItemToParent(scene::ReadItemMotion(info, at)), world);
  }
  return world;
}

// The layer an item shows: what follows the last ':' of "object:layer",
// empty for an item named otherwise.
std::string LayerOf(const std::string& itemName) {
  const std::size_t colon = itemName.rfind(':');
  return colon == std::string::npos ? std::string() : itemName.substr(colon + 1);
}

std::string Lower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

// The highest item at or above `item` that loads the same file: the root
// of the instance the item belongs to.
LWItemID InstanceRoot(const scene::HostServices& services, LWItemID item, const std::string& file) {
  LWItemID root = item;
  std::unordered_set<LWItemID> seen{item};
  for (LWItemID at = services.itemInfo->parent(item); at != nullptr && seen.insert(at).second;
       at = services.itemInfo->parent(at)) {
    if (services.itemInfo->type(at) == LWI_OBJECT && ObjectFile(services, at) == file) root = at;
  }
  return root;
}

struct ModelKey {
  std::string file;
  std::set<std::string> layers;
  std::array<long long, 3> scaling;
  bool operator<(const ModelKey& other) const {
    return std::tie(file, layers, scaling) < std::tie(other.file, other.layers, other.scaling);
  }
};

std::array<long long, 3> ScalingKey(const Vec3& scaling) {
  std::array<long long, 3> key{};
  for (std::size_t i = 0; i < 3; ++i) key[i] = std::llround(scaling[i] * 1e5);
  return key;
}

std::string FormatScaling(const Vec3& s) {
  char text[96];
  std::snprintf(text, sizeof text, "%g x %g x %g", s[0], s[1], s[2]);
  return text;
}

class Scanner {
 public:
  explicit Scanner(const scene::HostServices& services) : services_(services), info_(*services.itemInfo) {}

  SectionScan Run() {
    // Each instance's items, root first, the instances in the order of
    // their roots.
    std::vector<std::pair<std::string, std::vector<LWItemID>>> instances;
    std::unordered_map<LWItemID, std::size_t> instanceOfRoot;
    for (LWItemID item = info_.first(LWI_OBJECT, nullptr); item != nullptr; item = info_.next(item)) {
      const std::string file = ObjectFile(services_, item);
      if (file.empty()) continue;
      const LWItemID root = InstanceRoot(services_, item, file);
      const auto [found, added] = instanceOfRoot.emplace(root, instances.size());
      if (added) instances.push_back({file, {root}});
      if (item != root) instances[found->second].second.push_back(item);
    }
    for (const auto& [file, items] : instances) {
      AddInstance(items, file);
      if (scan_.error) return std::move(scan_);
    }
    if (scan_.models.empty()) {
      scan_.error = scene::MessageLines{"The scene has no object with polygons, so the section would hold no model.",
                                 "Load the section's objects into Layout and export again."};
      return std::move(scan_);
    }
    if (scan_.instances.size() > section::kMaxTextIplInstances) {
      Fail("The section has " + std::to_string(scan_.instances.size()) + " instances, but one IPL file of the game "
               "holds " + std::to_string(section::kMaxTextIplInstances) + " at most.",
           "Export the scene as two or more sections. Nothing was written.");
      return std::move(scan_);
    }
    CheckNames();
    if (!scan_.error) LinkLods();
    WarnOfVariants();
    return std::move(scan_);
  }

 private:
  void Fail(std::string line1, std::string line2) { scan_.error = scene::MessageLines{std::move(line1), std::move(line2)}; }

  void AddInstance(const std::vector<LWItemID>& items, const std::string& file) {
    const LWItemID root = items.front();
    ModelKey key{Lower(file), {}, {}};
    bool visible = false;
    int polygons = 0;
    for (LWItemID item : items) {
      const std::string name = ItemName(info_, item);
      key.layers.insert(LayerOf(name));
      polygons += services_.objectInfo->numPolygons(item);
      if (col::RoleOfItem(name, LayerOf(name)) == col::ItemRole::kVisual) visible = true;
    }
    if (polygons == 0) return;
    const std::string rootName = ItemName(info_, root);
    if (!visible) {
      return Fail("The item \"" + rootName + "\" holds only collision or shadow layers of " +
                      platform::StripPath(file) + ", so it would be an instance without a model.",
                  "Parent it to the item of the object's visible layer, so that it belongs to that instance.");
    }
    const placement::ItemMotion motion = scene::ReadItemMotion(info_, root);
    for (double s : motion.scaling) {
      if (std::fabs(s) < 1e-6) {
        return Fail("The item \"" + rootName + "\" is scaled to nothing on one axis.",
                    "Give it a scaling other than 0 and export again.");
      }
    }
    key.scaling = ScalingKey(motion.scaling);
    const std::size_t model = ModelFor(key, file, items, motion);
    const Vec3 inverse{1 / motion.scaling[0], 1 / motion.scaling[1], 1 / motion.scaling[2]};
    Affine unscale;
    for (std::size_t i = 0; i < 3; ++i) unscale.linear[i][i] = inverse[i];
    // A model point m is the object point pivot + S^-1 m.
    const Affine modelToWorld = placement::Compose(
        ObjectToWorld(info_, root), placement::Compose(placement::Translation(scan_.models[model].pivot), unscale));
    const Affine world = placement::ToGameAxes(modelToWorld);
    if (!section::IsRotation(world.linear, kRotationTolerance)) {
      return Fail("The item \"" + rootName + "\" stands under a scaled or mirrored parent, which the game cannot "
                  "apply to an instance: it only moves and turns them.",
                  "Scale the item itself instead of its parent, or apply the parent's scaling to the objects.");
    }
    const Vec3& at = world.translation;
    if (std::fabs(at[0]) > section::kWorldEdge || std::fabs(at[1]) > section::kWorldEdge) {
      char where[96];
      std::snprintf(where, sizeof where, "(%.1f, %.1f)", world.translation[0], world.translation[1]);
      return Fail("The item \"" + rootName + "\" stands at " + where + " in the game's east and north, beyond the "
                  "game's world, which ends at 3,000 m each way.",
                  "Move it (or the whole section) within -3,000 to +3,000 m on Layout's x and z and export again.");
    }
    scan_.instances.push_back({model, rootName, items, world});
  }

  std::size_t ModelFor(const ModelKey& key, const std::string& file, const std::vector<LWItemID>& items,
                       const placement::ItemMotion& motion) {
    const auto known = modelOfKey_.find(key);
    if (known != modelOfKey_.end()) return known->second;
    const std::size_t variant = ++variantsOfFile_[key.file];
    std::string name = platform::RemoveExtension(platform::StripPath(file));
    if (variant > 1) name += "_" + std::to_string(variant);
    scan_.models.push_back({name, file, items, motion.scaling, motion.pivot, std::nullopt, std::nullopt});
    return modelOfKey_.emplace(key, scan_.models.size() - 1).first->second;
  }

  // The game tells models apart by name alone, without case, and reads
  // 19 characters of it.
  void CheckNames() {
    std::map<std::string, const SectionModelPlan*> byName;
    for (const SectionModelPlan& model : scan_.models) {
      const std::string problem = section::ImgNameProblem(model.name + ".dff");
      if (!problem.empty()) {
        return Fail("The model of " + model.objectFile + " cannot be named as the game needs: " + problem + ".",
                    "Rename the object file to at most 19 letters, digits, '_' or '-' (leave room for a \"_2\" "
                    "when it is scaled differently) and export again.");
      }
      const auto [found, added] = byName.emplace(Lower(model.name), &model);
      if (!added) {
        return Fail("The models of " + found->second->objectFile + " and " + model.objectFile +
                        " would both be named \"" + model.name + "\", which the game cannot tell apart.",
                    "Rename one of the object files and export again.");
      }
    }
  }

  // The HD model a LOD model's name points at, if the section has it.
  std::optional<std::size_t> StandsInFor(const SectionModelPlan& model,
                                         const std::map<std::string, std::size_t>& byName) const {
    for (const std::string& name : {Lower(model.name), Lower(LayerOf(ItemName(info_, model.items.front())))}) {
      std::string target;
      if (name.size() > 3 && name.compare(0, 3, "lod") == 0) target = name.substr(3);
      const auto prefixed = byName.find(target);
      if (!target.empty() && prefixed != byName.end()) return prefixed->second;
      if (name.size() > 4 && name.compare(name.size() - 4, 4, "_lod") == 0) target = name.substr(0, name.size() - 4);
      const auto suffixed = byName.find(target);
      if (!target.empty() && suffixed != byName.end()) return suffixed->second;
    }
    return std::nullopt;
  }

  // Each LOD instance serves the nearest instance of its model.
  void LinkLods() {
    std::map<std::string, std::size_t> byName;
    for (std::size_t i = 0; i < scan_.models.size(); ++i) byName.emplace(Lower(scan_.models[i].name), i);
    for (SectionModelPlan& model : scan_.models) {
      model.lodOf = StandsInFor(model, byName);
      if (model.lodOf && scan_.models[*model.lodOf].lodOf) model.lodOf.reset();
    }
    const std::vector<NearestInstance> instancesOfModel = InstancesOfEachModel();
    std::vector<int> servedBy(scan_.instances.size(), -1);
    for (std::size_t lod = 0; lod < scan_.instances.size(); ++lod) {
      const std::optional<std::size_t> target = scan_.models[scan_.instances[lod].model].lodOf;
      if (!target) continue;
      const SectionInstancePlan& lodItem = scan_.instances[lod];
      const std::optional<std::size_t> nearest = instancesOfModel[*target].Nearest(lodItem.world.translation);
      if (!nearest) continue;
      if (servedBy[*nearest] >= 0) {
        return Fail("The LOD items \"" + scan_.instances[static_cast<std::size_t>(servedBy[*nearest])].itemName +
                        "\" and \"" + lodItem.itemName + "\" both stand nearest to \"" +
                        scan_.instances[*nearest].itemName + "\", which the game lets have one LOD.",
                    "Move each LOD item to the instance it stands in for, or remove one.");
      }
      servedBy[*nearest] = static_cast<int>(lod);
      scan_.instances[*nearest].lod = static_cast<int>(lod);
    }
  }

  std::vector<NearestInstance> InstancesOfEachModel() const {
    std::vector<std::vector<Vec3>> places(scan_.models.size());
    std::vector<std::vector<std::size_t>> ids(scan_.models.size());
    for (std::size_t i = 0; i < scan_.instances.size(); ++i) {
      places[scan_.instances[i].model].push_back(scan_.instances[i].world.translation);
      ids[scan_.instances[i].model].push_back(i);
    }
    std::vector<NearestInstance> byModel;
    for (std::size_t m = 0; m < scan_.models.size(); ++m) byModel.emplace_back(std::move(places[m]), std::move(ids[m]));
    return byModel;
  }

  void WarnOfVariants() {
    for (const SectionModelPlan& model : scan_.models) {
      if (variantsOfFile_[Lower(model.objectFile)] < 2) continue;
      scan_.warnings.push_back(
          {"The model " + model.name + " is " + platform::StripPath(model.objectFile) + " with the layers and " +
               "scaling " + FormatScaling(model.scaling) + " of the item \"" + ItemName(info_, model.items.front()) +
               "\": the game cannot scale instances, so each scaling and layer set of an object is a model of "
               "its own.",
           "Scale the object in Modeler instead if every instance should share one model."});
    }
  }

  const scene::HostServices& services_;
  const LWItemInfo& info_;
  SectionScan scan_;
  std::map<ModelKey, std::size_t> modelOfKey_;
  std::map<std::string, std::size_t> variantsOfFile_;
};

}  // namespace

SectionScan ScanSection(const scene::HostServices& services) { return Scanner(services).Run(); }

}  // namespace mapexport
