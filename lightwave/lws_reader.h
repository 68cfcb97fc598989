// Reading of LightWave scene files (.lws): versions 2 to 5, as written by
// LightWave 6 and later and by the interim format some tools still write.
#pragma once

#include <string>
#include <string_view>

#include "lightwave/lws_document.h"

namespace host {

// Reads the text of a scene file.  Throws LoadError whose message names
// `fileName` and the line.
LwsDocument ReadLws(std::string_view text, const std::string& fileName);

}  // namespace host
