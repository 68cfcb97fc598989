#include "lightwave/lwo3_reader.h"

#include <map>
#include <optional>
#include <set>
#include <string>
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

// The clips by still image path, so that images LWO3 names by path find
// their clip, and a path no clip holds gets a clip of its own.
class ClipsByPath {
 public:
  explicit ClipsByPath(const Lwo2Object& object) {
    for (const Lwo2Clip& clip : object.clips) {
      byPath_.emplace(clip.stillPath, clip.index);
      used_.insert(clip.index);
    }
  }

  // Paths are compared as stored, as Layout lists each image file once.
  std::uint32_t IndexOf(Lwo2Object& object, const std::string& path) {
    const auto found = byPath_.find(path);
    if (found != byPath_.end()) return found->second;
    std::uint32_t index = used_.empty() ? 1 : *used_.rbegin() + 1;
    while (used_.count(index) != 0) ++index;  // only when the largest index wrapped round
    object.clips.push_back({index, path});
    byPath_.emplace(path, index);
    used_.insert(index);
    return index;
  }

 private:
  std::map<std::string, std::uint32_t> byPath_;  // the first clip of each path
  std::set<std::uint32_t> used_;
};

// A surface's images by path, and its warning, once every clip is known.
struct PendingSurface {
  std::size_t surface = 0;
  std::optional<std::string> colorImagePath;
  std::optional<std::string> reflectionImagePath;
  std::optional<std::string> problem;
};

void Resolve(Lwo2Object& object, ClipsByPath& clips, const PendingSurface& pending, const std::string& fileName) {
  if (pending.colorImagePath) {
    const std::uint32_t index = clips.IndexOf(object, *pending.colorImagePath);
    object.surfaces[pending.surface].colorLayers.front().clip = index;
  }
  if (pending.reflectionImagePath) {
    const std::uint32_t index = clips.IndexOf(object, *pending.reflectionImagePath);
    object.surfaces[pending.surface].reflectionClip = index;
  }
  const Lwo2Surface& surface = object.surfaces[pending.surface];
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
  ClipsByPath clips(object);
  for (const PendingSurface& surface : pending) Resolve(object, clips, surface, fileName);
  return object;
}

}  // namespace host
