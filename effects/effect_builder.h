// The 2d effects of one exported model: every point and spot light, and
// every null named "fx_<effect>", that hangs (directly or through nulls)
// under an exported object becomes an entry of that object's geometry, at
// the item's place in the geometry's space.  Written for any command that
// exports models: call it per model, after its geometry is built.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "lwsdk/item_info.h"
#include "lwsdk/light_info.h"
#include "lwsdk/object_info.h"
#include "scene/dff_exporter.h"

namespace effects {

struct Notice {
  std::string line1;
  std::string line2;
};

struct EffectsOutcome {
  // Items that give no entry, or tags that changed nothing.
  std::vector<Notice> warnings;
  // Set when the model must not be written: a particle effect name longer
  // than the game reads.
  std::optional<Notice> error;
  int lights = 0;
  int particles = 0;
};

// Attaches the entries to the first geometry (the first part of a split
// object) of the object each item hangs under.  An export that builds
// several models (BuildChoices::keepItem) passes over, without a word, the
// items under objects it does not keep; those belong to another model or
// to another instance of this one.  Without `lightInfo` (a host that does
// not serve it) lights are reported, not written.
EffectsOutcome AttachEffects(const LWItemInfo& itemInfo, const LWObjectInfo& objectInfo,
                             const LWLightInfo* lightInfo, scene::DffExporter& exporter);

}  // namespace effects
