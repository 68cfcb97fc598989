#include "section/model_ids.h"

#include <algorithm>
#include <cctype>
#include <map>

#include "section/section_limits.h"

namespace section {
namespace {

std::string Lower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

// Two lines of the earlier IDE that share an ID would give one model the
// other's instances.
std::string FindSharedId(const std::vector<IdeObject>& earlier) {
  std::map<int, const IdeObject*> byId;
  for (const IdeObject& object : earlier) {
    const auto [found, added] = byId.emplace(object.id, &object);
    if (!added) {
      return "the models " + found->second->model + " and " + object.model + " both have the ID " +
             std::to_string(object.id);
    }
  }
  return {};
}

}  // namespace

IdPlan PlanModelIds(const std::vector<ModelDefaults>& models, const std::vector<IdeObject>& earlier, int firstId) {
  IdPlan plan;
  plan.error = FindSharedId(earlier);
  if (!plan.error.empty()) return plan;
  std::map<std::string, const IdeObject*> byName;
  // The first ID matters only to a section whose IDE lists no model yet.
  int highest = earlier.empty() ? firstId - 1 : 0;
  for (const IdeObject& object : earlier) {
    byName.emplace(Lower(object.model), &object);
    highest = std::max(highest, object.id);
  }
  const std::size_t needed = static_cast<std::size_t>(std::count_if(
      models.begin(), models.end(), [&byName](const ModelDefaults& m) { return byName.count(Lower(m.model)) == 0; }));
  if (needed > 0 && static_cast<long long>(highest) + static_cast<long long>(needed) > kHighestModelId) {
    plan.error = std::to_string(needed) + (needed == 1 ? " new model needs an ID" : " new models need IDs") +
                 " from " + std::to_string(highest + 1) + " on, which runs past the game's last model ID, " +
                 std::to_string(kHighestModelId);
    return plan;
  }
  int next = highest + 1;
  for (const ModelDefaults& model : models) {
    const auto found = byName.find(Lower(model.model));
    if (found != byName.end()) {
      IdeObject object = *found->second;
      object.model = model.model;
      object.txd = model.txd;
      plan.objects.push_back(object);
      plan.kept.push_back(true);
    } else {
      plan.objects.push_back({next++, model.model, model.txd, model.drawDistance, model.flags});
      plan.kept.push_back(false);
    }
  }
  return plan;
}

}  // namespace section
