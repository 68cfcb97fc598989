#include "effects/effect_builder.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <unordered_map>
#include <unordered_set>

#include "effects/light_defaults.h"
#include "effects/light_tags.h"
#include "effects/particle_name.h"
#include "placement/lightwave_placement.h"
#include "scene/frame_placement.h"

namespace effects {
namespace {

using placement::Affine;
using placement::Vec3;

// The model is the scene at rest at its start, as the frames are.
constexpr LWTime kSampleTime = 0.0;
constexpr double kLongestRange = 1e6;

std::string NameOf(const LWItemInfo& itemInfo, LWItemID item) {
  const char* name = itemInfo.name(item);
  return name != nullptr ? name : "";
}

std::string Quoted(const std::string& text) { return "\"" + text + "\""; }

// Up to three items, each as its name in quotes and what else it needs,
// then how many more.
std::string NameList(const std::vector<std::string>& names) {
  std::string list;
  for (std::size_t i = 0; i < names.size() && i < 3; ++i) list += (i == 0 ? "" : ", ") + names[i];
  if (names.size() > 3) list += " and " + std::to_string(names.size() - 3) + " more";
  return list;
}

// The exported model as the effects see it.
class Model {
 public:
  explicit Model(scene::DffExporter& exporter)
      : keepItem_(exporter.choices.keepItem), modelRoot_(exporter.choices.modelRoot) {
    for (const auto& mesh : exporter.meshObjects) firstGeometry_.emplace(mesh->itemId, mesh.get());
    for (const auto& leftOut : exporter.leftOutItems) leftOut_.insert(leftOut.item);
  }
  scene::MeshObject* FirstGeometry(LWItemID item) const {
    const auto found = firstGeometry_.find(item);
    return found != firstGeometry_.end() ? found->second : nullptr;
  }
  bool IsLeftOut(LWItemID item) const { return leftOut_.count(item) != 0; }
  // False for an object the export builds into another model (or that is
  // another instance of this one).
  bool Keeps(LWItemID item) const { return !keepItem_ || keepItem_(item); }

  // From the object space of `item`, which has a geometry, into that
  // geometry's space, in Layout's axes: less the pivot, as the frames place
  // the vertices, and with the scaling too for the model root.
  Affine ObjectToGeometry(const LWItemInfo& itemInfo, LWItemID item) const {
    const placement::ItemMotion motion = scene::ReadItemMotion(itemInfo, item);
    if (item == modelRoot_) return placement::ItemToParent(scene::AsModelRoot(motion));
    return placement::Translation({-motion.pivot[0], -motion.pivot[1], -motion.pivot[2]});
  }

 private:
  std::function<bool(LWItemID)> keepItem_;
  LWItemID modelRoot_;
  std::unordered_map<LWItemID, scene::MeshObject*> firstGeometry_;
  std::unordered_set<LWItemID> leftOut_;
};

// kElsewhere: under an object of another model of the same export, whose
// own build takes the item.
enum class AnchorKind { kModel, kLeftOut, kElsewhere, kNothing };

// The object an effect item hangs under, and where the item stands in
// that object's geometry space.
struct Anchor {
  AnchorKind kind = AnchorKind::kNothing;
  scene::MeshObject* mesh = nullptr;
  LWItemID object = nullptr;  // the model or left-out object reached
  std::array<float, 3> position{};
};

bool IsNull(const LWItemInfo& itemInfo, const LWObjectInfo& objectInfo, LWItemID item) {
  return itemInfo.type(item) == LWI_OBJECT && objectInfo.numPolygons(item) == 0;
}

// Climbs from the item through nulls to the first object that is not a
// null.  Each item is met at most once, so a parent loop in a damaged scene
// ends the climb.
Anchor FindAnchor(const LWItemInfo& itemInfo, const LWObjectInfo& objectInfo, const Model& model, LWItemID item) {
  const placement::ItemMotion motion = scene::ReadItemMotion(itemInfo, item);
  Affine toObject = placement::ItemToParent(motion);
  std::unordered_set<LWItemID> met{item};
  Anchor anchor;
  for (LWItemID at = itemInfo.parent(item); at != nullptr && met.insert(at).second; at = itemInfo.parent(at)) {
    if (scene::MeshObject* mesh = model.FirstGeometry(at)) {
      // The item's place is its pivot, mapped to the game's axes as the
      // frame's vertices are.
      const Affine toGeometry = placement::Compose(model.ObjectToGeometry(itemInfo, at), toObject);
      const Vec3 game = placement::ToGameAxes(placement::Apply(toGeometry, motion.pivot));
      anchor = {AnchorKind::kModel, mesh, at,
                {static_cast<float>(game[0]), static_cast<float>(game[1]), static_cast<float>(game[2])}};
      return anchor;
    }
    if (model.IsLeftOut(at)) {
      anchor.kind = AnchorKind::kLeftOut;
      anchor.object = at;
      return anchor;
    }
    if (!IsNull(itemInfo, objectInfo, at)) {
      if (!model.Keeps(at)) anchor.kind = AnchorKind::kElsewhere;
      return anchor;
    }
    toObject = placement::Compose(placement::ItemToParent(scene::ReadItemMotion(itemInfo, at)), toObject);
  }
  return anchor;
}

std::uint8_t Channel(double value) {
  if (!(value > 0)) return 0;  // negative, zero or not a number
  return static_cast<std::uint8_t>(std::lround(std::min(value, 1.0) * 255.0));
}

// The light's colour times its intensity; a light brighter than white
// keeps its hue, at full brightness.
std::array<std::uint8_t, 4> LightColor(const LWLightInfo& lightInfo, LWItemID light) {
  LWDVector rgb{};
  lightInfo.color(light, kSampleTime, rgb);
  const double brightest = std::max({rgb[0], rgb[1], rgb[2]});
  const double scale = brightest > 1.0 ? 1.0 / brightest : 1.0;
  return {Channel(rgb[0] * scale), Channel(rgb[1] * scale), Channel(rgb[2] * scale), kLampAlpha};
}

bool IsLamp(int lightType) { return lightType == LWLIGHT_POINT || lightType == LWLIGHT_SPOT; }

const char* KindOfLight(int lightType) {
  switch (lightType) {
    case LWLIGHT_DISTANT: return "distant";
    case LWLIGHT_LINEAR: return "linear";
    case LWLIGHT_AREA: return "area";
    default: return "custom";
  }
}

class Builder {
 public:
  Builder(const LWItemInfo& itemInfo, const LWObjectInfo& objectInfo, const LWLightInfo* lightInfo,
          scene::DffExporter& exporter)
      : itemInfo_(itemInfo), objectInfo_(objectInfo), lightInfo_(lightInfo), model_(exporter) {}

  EffectsOutcome Build() {
    for (LWItemID light = itemInfo_.first(LWI_LIGHT, nullptr); light != nullptr; light = itemInfo_.next(light)) {
      AddLight(light);
    }
    for (LWItemID item = itemInfo_.first(LWI_OBJECT, nullptr); item != nullptr; item = itemInfo_.next(item)) {
      if (IsNull(itemInfo_, objectInfo_, item)) AddParticle(item);
    }
    Report();
    return std::move(outcome_);
  }

 private:
  void AddLight(LWItemID light) {
    const std::string name = NameOf(itemInfo_, light);
    const Anchor anchor = FindAnchor(itemInfo_, objectInfo_, model_, light);
    if (lightInfo_ == nullptr) {
      if (anchor.kind == AnchorKind::kModel) unreadLights_.push_back(Quoted(name));
      return;
    }
    const int type = lightInfo_->type(light);
    if (!IsLamp(type)) {
      // A distant light in the open is the scene's own lighting; one hung
      // on the model was meant as a lamp.
      if (anchor.kind == AnchorKind::kModel || anchor.kind == AnchorKind::kLeftOut) {
        notLamps_.push_back(Quoted(name) + " (" + KindOfLight(type) + ")");
      }
      return;
    }
    if (!Placed(anchor, name)) return;
    dff::LightEffect body = LampPostLight();
    body.color = LightColor(*lightInfo_, light);
    const LightTagResult tags = ApplyLightTags(name, body);
    if (!tags.rangeSet && (lightInfo_->flags(light) & LWLFL_LIMITED_RANGE) != 0) {
      const double range = lightInfo_->range(light, kSampleTime);
      // A range the game could not use (negative, endless) keeps the lamp's.
      if (range >= 0.0 && range <= kLongestRange) body.pointLightRange = static_cast<float>(range);
    }
    if (!tags.problems.empty()) WarnTagProblems(name, tags.problems);
    anchor.mesh->effects.push_back({anchor.position, body});
    ++outcome_.lights;
  }

  void WarnTagProblems(const std::string& name, const std::vector<TagProblem>& problems) {
    std::string list;
    for (const TagProblem& problem : problems) {
      list += (list.empty() ? "" : "; ") + Quoted(problem.tag) + " " + problem.why;
    }
    outcome_.warnings.push_back({"The light " + Quoted(name) + " has tags that changed nothing: " + list + ".",
                                 "Its other settings were written; the README lists the tags a light's name "
                                 "can carry in [ ]."});
  }

  void AddParticle(LWItemID null) {
    const std::string name = NameOf(itemInfo_, null);
    const std::optional<std::string> effect = ParticleEffectName(name);
    if (!effect) return;
    if (effect->size() > dff::kEffectNameField - 1) {
      if (!outcome_.error) {
        outcome_.error = Notice{"The particle effect null " + Quoted(name) + " names an effect of " +
                                    std::to_string(effect->size()) + " characters; the game reads at most 23.",
                                "No file was written: rename the null fx_<effect> after one of the game's "
                                "particle effects and export again."};
      }
      return;
    }
    const Anchor anchor = FindAnchor(itemInfo_, objectInfo_, model_, null);
    if (!Placed(anchor, name)) return;
    anchor.mesh->effects.push_back({anchor.position, dff::ParticleEffect{*effect}});
    ++outcome_.particles;
  }

  // Notes an item whose anchor is no exported object.
  bool Placed(const Anchor& anchor, const std::string& name) {
    if (anchor.kind == AnchorKind::kModel) return true;
    if (anchor.kind == AnchorKind::kElsewhere) return false;
    if (anchor.kind == AnchorKind::kLeftOut) {
      underLeftOut_.push_back(Quoted(name) + " under " + Quoted(NameOf(itemInfo_, anchor.object)));
    } else {
      underNothing_.push_back(Quoted(name));
    }
    return false;
  }

  void Report() {
    if (!unreadLights_.empty()) {
      outcome_.warnings.push_back({"This host does not say what its lights are, so no light was written: " +
                                       NameList(unreadLights_) + ".",
                                   "Run the command in a LightWave Layout that provides \"LW Light Info\"."});
    }
    if (!notLamps_.empty()) {
      outcome_.warnings.push_back({"The game has only point lights on its models; these lights were not written: " +
                                       NameList(notLamps_) + ".",
                                   "Make them point or spot lights in Layout's light properties."});
    }
    if (!underLeftOut_.empty()) {
      outcome_.warnings.push_back({"These lights or effects hang under collision or shadow items, which the "
                                   "DFF leaves out, so they were not written: " + NameList(underLeftOut_) + ".",
                                   "Parent them to a visible object of the model, directly or through nulls."});
    }
    if (!underNothing_.empty()) {
      outcome_.warnings.push_back({"These point lights or effects hang under no exported object, so they were "
                                   "not written: " + NameList(underNothing_) + ".",
                                   "Parent them to a visible object of the model, directly or through nulls."});
    }
  }

  const LWItemInfo& itemInfo_;
  const LWObjectInfo& objectInfo_;
  const LWLightInfo* lightInfo_;
  Model model_;
  EffectsOutcome outcome_;
  std::vector<std::string> unreadLights_;
  std::vector<std::string> notLamps_;
  std::vector<std::string> underLeftOut_;
  std::vector<std::string> underNothing_;
};

}  // namespace

EffectsOutcome AttachEffects(const LWItemInfo& itemInfo, const LWObjectInfo& objectInfo,
                             const LWLightInfo* lightInfo, scene::DffExporter& exporter) {
  return Builder(itemInfo, objectInfo, lightInfo, exporter).Build();
}

}  // namespace effects
