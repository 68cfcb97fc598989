// Where the generated LOD models go in the section's files: their IDE
// objects after every model of the scene, an IPL line at each instance of
// their model, and the summary's account of them.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "map_export/section_models.h"
#include "map_export/section_scan.h"
#include "section/ide_file.h"
#include "section/ipl_file.h"

namespace mapexport {

// For each model, the index of its generated LOD among the IDE's objects.
std::vector<std::optional<std::size_t>> GeneratedLodObjects(const std::vector<SectionModel>& models);

// Appends the LOD lines to the instances' own and links each instance's
// line to its LOD's.
void AppendGeneratedLodLines(const std::vector<SectionModel>& models, const SectionScan& scan,
                             const std::vector<section::IdeObject>& objects,
                             std::vector<section::IplInstance>& lines);

// " Built N LOD models (...)." for the summary, empty when none was built.
std::string GeneratedLodSummary(const std::vector<SectionModel>& models, const SectionScan& scan);

}  // namespace mapexport
