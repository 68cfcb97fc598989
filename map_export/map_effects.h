// The lights and particle effects of the map command's model: the host's
// light service, and what the effects step tells the user.
#pragma once

#include <string>
#include <vector>

#include "effects/effect_builder.h"
#include "lwsdk/globals.h"
#include "lwsdk/light_info.h"
#include "scene/export_messages.h"

namespace mapexport {

// The host's light information, or null when the host does not serve it:
// the model is then written without its lights.
const LWLightInfo* AcquireLightInfo(GlobalFunc global);

std::vector<scene::MessageLines> EffectWarnings(const effects::EffectsOutcome& outcome);

// " It carries 1 light and 2 particle effects." or nothing without any.
std::string DescribeEffects(const effects::EffectsOutcome& outcome);

}  // namespace mapexport
