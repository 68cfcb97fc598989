// The export of a map section to the files named after its IDE: what the
// command does once the user has chosen where.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "lwsdk/light_info.h"
#include "scene/export_messages.h"
#include "scene/host_services.h"

namespace mapexport {

struct SectionOutcome {
  std::vector<scene::MessageLines> warnings;
  std::optional<scene::MessageLines> error;  // nothing was written
  std::string summary;
};

// Builds every model, with the lights and effects of its first instance
// (`lightInfo` may be null: AttachEffects), and with `makeLods` the LOD
// models of the large ones (section_lods.h), plans IDs against the IDE at
// `idePath` if there is one, and writes <name>.ide, <name>.ipl, <name>.img
// and <name>.txt beside it, all or none.
SectionOutcome ExportSection(const scene::HostServices& services, const LWLightInfo* lightInfo,
                             const std::string& idePath, int firstId, bool makeLods);

}  // namespace mapexport
