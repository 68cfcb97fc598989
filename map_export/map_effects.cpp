#include "map_export/map_effects.h"

namespace mapexport {
namespace {

std::string Plural(int count, const char* one, const char* many) {
  return std::to_string(count) + " " + (count == 1 ? one : many);
}

}  // namespace

const LWLightInfo* AcquireLightInfo(GlobalFunc global) {
  return static_cast<const LWLightInfo*>(global(LWLIGHTINFO_GLOBAL, GFUSE_TRANSIENT));
}

std::vector<scene::MessageLines> EffectWarnings(const effects::EffectsOutcome& outcome) {
  std::vector<scene::MessageLines> warnings;
  for (const effects::Notice& notice : outcome.warnings) warnings.push_back({notice.line1, notice.line2});
  return warnings;
}

std::string DescribeEffects(const effects::EffectsOutcome& outcome) {
  if (outcome.lights == 0 && outcome.particles == 0) return {};
  std::string what;
  if (outcome.lights > 0) what = Plural(outcome.lights, "light", "lights");
  if (outcome.particles > 0) {
    what += (what.empty() ? "" : " and ") + Plural(outcome.particles, "particle effect", "particle effects");
  }
  return " The model carries " + what + ".";
}

}  // namespace mapexport
