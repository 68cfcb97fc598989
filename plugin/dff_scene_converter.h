// "DFF Scene": the scene converter through which Layout's Load Scene opens
// a game model's DFF.  It writes the model (with its TXD and the COL beside
// it) as a LightWave scene, objects and images into NAME_lw beside the DFF,
// and hands Layout the scene.  The TXD is found as lwhost --import finds
// it; when its folder holds none, the user is asked for it.
#pragma once

#include "lwsdk/globals.h"

namespace plugin {

constexpr char kDffSceneConverterName[] = "DFF Scene";

// Versions 1 and 2; a file that does not start as a model
// (import/model_sniff.h) is left to the next converter.  Warnings go to the host's messages.
int LWCALL ActivateDffSceneConverter(int version, GlobalFunc global, void* local, void* serverData);

}  // namespace plugin
