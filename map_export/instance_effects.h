// The game shows every instance of a model with the model's own lights and
// particle effects, which the section takes from the model's first
// instance.  Instances that carry other effects are named in a warning,
// so that no light the user placed is passed over without a word.
#pragma once

#include <optional>

#include "map_export/section_scan.h"
#include "scene/export_messages.h"
#include "scene/host_services.h"

namespace mapexport {

// One warning naming the instances whose lights and effects (their kinds
// and counts) differ from their model's first instance, or nothing.
std::optional<scene::MessageLines> InstancesWithOtherEffects(const scene::HostServices& services,
                                                             const SectionScan& scan);

}  // namespace mapexport
