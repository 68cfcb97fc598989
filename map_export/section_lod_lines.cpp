#include "map_export/section_lod_lines.h"

#include <algorithm>
#include <cstdio>

namespace mapexport {

// Where each generated LOD stands in the IDE's objects: after every
// model of the scene, in the order of their models.
std::vector<std::optional<std::size_t>> GeneratedLodObjects(const std::vector<SectionModel>& models) {
  std::vector<std::optional<std::size_t>> objectOf(models.size());
  std::size_t next = models.size();
  for (std::size_t i = 0; i < models.size(); ++i) {
    if (models[i].lod) objectOf[i] = next++;
  }
  return objectOf;
}

// A line for each instance of a model with a generated LOD, after every
// instance's own: the LOD at the same place and turn, linked from the
// instance's line as a LOD item's line is.
void AppendGeneratedLodLines(const std::vector<SectionModel>& models, const SectionScan& scan,
                             const std::vector<section::IdeObject>& objects,
                             std::vector<section::IplInstance>& lines) {
  const std::vector<std::optional<std::size_t>> lodObjects = GeneratedLodObjects(models);
  for (std::size_t i = 0; i < scan.instances.size(); ++i) {
    const std::optional<std::size_t> lodObject = lodObjects[scan.instances[i].model];
    if (!lodObject) continue;
    section::IplInstance lod = lines[i];
    lod.id = objects[*lodObject].id;
    lod.model = objects[*lodObject].model;
    lod.lod = -1;
    lines[i].lod = static_cast<int>(lines.size());
    lines.push_back(lod);
  }
}

// The first few LODs one by one, then the rest in sum, so that a section
// of a hundred LODs still fits one message.
std::string GeneratedLodSummary(const std::vector<SectionModel>& models, const SectionScan& scan) {
  constexpr std::size_t kListed = 3;
  std::string built;
  std::size_t count = 0;
  std::size_t restBefore = 0, restAfter = 0;
  double restError = 0;
  for (std::size_t i = 0; i < models.size(); ++i) {
    if (!models[i].lod) continue;
    const GeneratedLod& lod = *models[i].lod;
    if (count++ < kListed) {
      built += (count == 1 ? "" : "; ") + DescribeLod(lod, scan.models[i].name);
      continue;
    }
    restBefore += lod.trianglesBefore;
    restAfter += lod.trianglesAfter;
    restError = std::max(restError, lod.errorBound);
  }
  if (count == 0) return "";
  if (count > kListed) {
    char error[32];
    std::snprintf(error, sizeof error, "%.3g", restError);
    built += "; and " + std::to_string(count - kListed) + " more, from " + std::to_string(restBefore) + " to " +
             std::to_string(restAfter) + " triangles in all, each within " + error + " m";
  }
  return " Built " + std::to_string(count) + (count == 1 ? " LOD model (" : " LOD models (") + built + ").";
}

}  // namespace mapexport
