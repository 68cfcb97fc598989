#include "lightwave/lwo2_reader.h"

#include <utility>

#include "lightwave/iff_reader.h"
#include "lightwave/lwo2_surface_reader.h"
#include "lightwave/lwo_geometry_reader.h"
#include "lightwave/lwo_object_form.h"

namespace host {
namespace {

constexpr std::uint32_t kClip = MakeId("CLIP");
constexpr std::uint32_t kSurf = MakeId("SURF");

}  // namespace

Lwo2Object ReadLwo2Chunks(IffReader form, const std::string& fileName) {
  LwoGeometryReader geometry(fileName);
  Lwo2Object object;
  ForEachTopLevelChunk(form, fileName, [&](const IffChunk& chunk) {
    if (geometry.Read(chunk)) return;
    if (chunk.id == kClip) {
      if (std::optional<Lwo2Clip> clip = ReadClip(chunk.body)) object.clips.push_back(std::move(*clip));
    } else if (chunk.id == kSurf) {
      object.surfaces.push_back(ReadSurface(chunk.body, object.surfaces));
    }
    // Anything else: bounding boxes, envelopes, descriptions, node data...
  });
  object.layers = geometry.TakeLayers();
  return object;
}

}  // namespace host
