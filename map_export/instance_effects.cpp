#include "map_export/instance_effects.h"

#include <algorithm>
#include <string>
#include <unordered_map>
#include <vector>

#include "effects/hung_effects.h"

namespace mapexport {
namespace {

// The kinds of effect an instance carries, sorted, so that two instances
// with the same lights and effects have equal lists.
using EffectKinds = std::vector<std::string>;

std::vector<EffectKinds> KindsPerInstance(const scene::HostServices& services, const SectionScan& scan) {
  std::unordered_map<LWItemID, std::size_t> instanceOfItem;
  for (std::size_t i = 0; i < scan.instances.size(); ++i) {
    for (LWItemID item : scan.instances[i].items) instanceOfItem.emplace(item, i);
  }
  std::vector<EffectKinds> kinds(scan.instances.size());
  for (effects::HungEffect& hung : effects::HungEffects(*services.itemInfo, *services.objectInfo)) {
    const auto found = instanceOfItem.find(hung.object);
    if (found != instanceOfItem.end()) kinds[found->second].push_back(std::move(hung.kind));
  }
  for (EffectKinds& list : kinds) std::sort(list.begin(), list.end());
  return kinds;
}

std::string Quoted(const std::string& text) { return "\"" + text + "\""; }

}  // namespace

std::optional<scene::MessageLines> InstancesWithOtherEffects(const scene::HostServices& services,
                                                             const SectionScan& scan) {
  const std::vector<EffectKinds> kinds = KindsPerInstance(services, scan);
  // The first instance of each model, which the model is built from.
  std::vector<std::size_t> firstOfModel(scan.models.size(), scan.instances.size());
  std::vector<std::string> differing;
  for (std::size_t i = 0; i < scan.instances.size(); ++i) {
    std::size_t& first = firstOfModel[scan.instances[i].model];
    if (first == scan.instances.size()) {
      first = i;
    } else if (kinds[i] != kinds[first]) {
      // Clones often share a name; the IPL line tells them apart.
      differing.push_back(Quoted(scan.instances[i].itemName) + " (IPL line " + std::to_string(i + 1) +
                          ", first instance on line " + std::to_string(first + 1) + ")");
    }
  }
  if (differing.empty()) return std::nullopt;
  std::string list;
  for (std::size_t i = 0; i < differing.size() && i < 3; ++i) list += (i == 0 ? "" : ", ") + differing[i];
  if (differing.size() > 3) list += " and " + std::to_string(differing.size() - 3) + " more";
  return scene::MessageLines{
      "These instances carry other lights or particle effects than their model's first instance, but the game "
      "shows every instance with its model's own: " + list + ".",
      "Give every instance of a model the same lights and effects, or save the different one as an object file "
      "of its own."};
}

}  // namespace mapexport
