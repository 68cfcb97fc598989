#include "lightwave/lwo3_reader.h"

#include <set>
#include <utility>
#include <vector>

#include "lightwave/lwo3_surface_reader.h"
#include "lightwave/lwo_geometry_reader.h"
#include "lightwave/lwo_object_form.h"

namespace host {
namespace {

constexpr std::uint32_t kForm = MakeId("FORM");
constexpr std::uint32_t kClip = MakeId("CLIP");
constexpr std::uint32_t kSurf = MakeId("SURF");

// The clip that holds this still image, added when no clip does.  Paths
// are compared as stored, as Layout lists each image file once.
std::uint32_t ClipOfPath(Lwo2Object& object, const std::string& path) {
  std::set<std::uint32_t> used;
  for (const Lwo2Clip& clip : object.clips) {
    if (clip.stillPath == path) return clip.index;
    used.insert(clip.index);
  }
  std::uint32_t index = used.empty() ? 1 : *used.rbegin() + 1;
  while (used.count(index) != 0) ++index;  // only when the largest index wrapped round
  object.clips.push_back({index, path});
  return index;
}

// A surface's images by path, and its warning, once every clip is known.
struct PendingSurface {
  std::size_t surface = 0;
  std::optional<std::string> colorImagePath;
  std::optional<std::string> reflectionImagePath;
  std::optional<std::string> problem;
};

void Resolve(Lwo2Object& object, const PendingSurface& pending, const std::string& fileName) {
  Lwo2Surface& surface = object.surfaces[pending.surface];
  if (pending.colorImagePath) surface.colorLayers.front().clip = ClipOfPath(object, *pending.colorImagePath);
  if (pending.reflectionImagePath) surface.reflectionClip = ClipOfPath(object, *pending.reflectionImagePath);
  if (pending.problem) {
    object.warnings.push_back(fileName + ": surface '" + surface.name + "' " + *pending.problem +
                              "; it gets the default surface values");
  }
}

}  // namespace

Lwo2Object ReadLwo3Chunks(IffReader form, const std::string& fileName) {
  LwoGeometryReader geometry(fileName);
  Lwo2Object object;
  std::vector<PendingSurface> pending;
  ForEachTopLevelChunk(form, fileName, [&](const IffChunk& chunk) {
    if (geometry.Read(chunk) || chunk.id != kForm) return;
    IffReader body = chunk.body;
    if (body.remaining() < 4) body.Fail("a FORM of " + std::to_string(body.remaining()) + " bytes has no room for its type");
    const std::uint32_t type = body.Id4();
    if (type == kClip) {
      if (std::optional<Lwo2Clip> clip = ReadLwo3Clip(body)) object.clips.push_back(std::move(*clip));
    } else if (type == kSurf) {
      Lwo3Surface read = ReadLwo3Surface(body, object.surfaces);
      pending.push_back({object.surfaces.size(), std::move(read.colorImagePath), std::move(read.reflectionImagePath),
                         std::move(read.problem)});
      object.surfaces.push_back(std::move(read.surface));
    }
    // Other forms and chunks (bounding boxes, object tags...) serve nothing.
  });
  object.layers = geometry.TakeLayers();
  for (const PendingSurface& surface : pending) Resolve(object, surface, fileName);
  return object;
}

}  // namespace host
