// The surface and clip chunks of an LWO2 file: what the host reports
// through Surface Functions, Texture Functions and the image list.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "lightwave/iff_reader.h"
#include "lightwave/lwo2_object.h"

namespace host {

// A surface of this name that starts from the values of the surface named
// `source` among `earlier`, or from LightWave's defaults.
Lwo2Surface StartSurface(const std::string& name, const std::string& source,
                         const std::vector<Lwo2Surface>& earlier);

// A SURF chunk.  `earlier` are the surfaces read before it: a surface
// derived from one of them starts from that surface's values.  Throws
// IffError.
Lwo2Surface ReadSurface(IffReader body, const std::vector<Lwo2Surface>& earlier);

// The sub-chunks of a SURF chunk after its two names, as an object loader
// hands them to the host with the names apart.  Throws IffError.
Lwo2Surface ReadSurfaceBlock(const std::string& name, const std::string& source, IffReader body,
                             const std::vector<Lwo2Surface>& earlier);

// A CLIP chunk; nothing when its source is not a still image.  Throws
// IffError.
std::optional<Lwo2Clip> ReadClip(IffReader body);

}  // namespace host
