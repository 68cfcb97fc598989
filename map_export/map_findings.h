// What the map command tells the user once its model is built: the
// warnings that need attention, and the summary of what was written.
#pragma once

#include <string>
#include <vector>

#include "lwsdk/item_info.h"
#include "scene/dff_exporter.h"
#include "scene/export_messages.h"

namespace mapexport {

struct MapFindings {
  // Shown before the summary, each in words that say what the game will do
  // and what to change.
  std::vector<scene::MessageLines> warnings;
  // What the DFF holds, e.g. "house.dff (2 geometries, day and night
  // colours)"; the command names the other files beside it.
  std::string dffSummary;
  // Sentences that follow the list of files: parts, items left out.
  std::string notes;
};

// Reads the built model; `itemInfo` names its items.
MapFindings DescribeMapModel(const LWItemInfo& itemInfo, const scene::DffExporter& exporter,
                             const std::string& dffFileName);

}  // namespace mapexport
