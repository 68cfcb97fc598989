// "DFF Loader": the object loader through which Layout's and Modeler's
// Load Object open a game model's DFF as one object, a layer per atomic
// with its points where the clump puts them (import_scene/clump_object.h).
#pragma once

#include "lwsdk/globals.h"

namespace plugin {

constexpr char kDffObjectLoaderName[] = "DFF Loader";

// Versions 3 to 5.  A file that does not start as a model is left to the
// next loader (LWOBJIM_NOREC); one that cannot be read, or that dffinfo
// calls damaged, is LWOBJIM_BADFILE with the reason in failedBuf; a load
// the user stops through the monitor is LWOBJIM_ABORTED.  Warnings go to
// the host's messages.
int LWCALL ActivateDffObjectLoader(int version, GlobalFunc global, void* local, void* serverData);

}  // namespace plugin
