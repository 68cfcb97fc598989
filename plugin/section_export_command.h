// "Export map section": the generic command that writes Layout's scene of
// placed objects as a map section the game loads: the IDE of its models,
// the IPL of its instances, the IMG archive of their DFF, TXD and COL
// files, and the install instructions.
#pragma once

#include "lwsdk/globals.h"

namespace plugin {

constexpr char kSectionExportCommandName[] = "Export map section";

// Where a first export's model IDs start when the environment sets it
// (lwhost --first-id does): a whole number from 0 to 19,999.
constexpr char kFirstIdVariable[] = "VELMORA_SECTION_FIRST_ID";
// Whether the command builds LOD models for the large models that have
// none: "1" or unset builds them (Layout's default), "0" does not (lwhost
// sets it from --make-lods).
constexpr char kMakeLodsVariable[] = "VELMORA_SECTION_MAKE_LODS";

int LWCALL ActivateSectionExportCommand(int version, GlobalFunc global, void* local, void* serverData);

}  // namespace plugin
