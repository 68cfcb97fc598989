#include "map_export/map_findings.h"

#include <cstddef>
#include <cstdint>
#include <map>

namespace mapexport {
namespace {

// One object item of the model, over all its parts.
struct ItemFacts {
  std::string name;
  std::int32_t parts = 0;
  bool day = false;
  bool night = false;
  bool whiteDay = false;
  std::int32_t clampedCorners = 0;
  std::vector<std::string> wrongDimensionMaps;
};

std::string Quoted(const std::string& text) { return "\"" + text + "\""; }

std::string Plural(std::size_t count, const char* one, const char* many) {
  return std::to_string(count) + " " + (count == 1 ? one : many);
}

// The names of up to three items, then how many more.
std::string NameList(const std::vector<std::string>& names) {
  std::string list;
  for (std::size_t i = 0; i < names.size() && i < 3; ++i) list += (i == 0 ? "" : ", ") + Quoted(names[i]);
  if (names.size() > 3) list += " and " + std::to_string(names.size() - 3) + " more";
  return list;
}

std::vector<ItemFacts> GatherItems(const LWItemInfo& itemInfo, const scene::DffExporter& exporter) {
  std::vector<ItemFacts> items;
  std::map<LWItemID, std::size_t> position;
  for (const auto& mesh : exporter.meshObjects) {
    const auto [at, added] = position.emplace(mesh->itemId, items.size());
    if (added) {
      const char* name = itemInfo.name(mesh->itemId);
      items.push_back(ItemFacts{name != nullptr ? name : "", 0, false, false, false, 0, {}});
    }
    ItemFacts& item = items[at->second];
    ++item.parts;
    item.day = !mesh->dayColors.empty();
    item.night = !mesh->nightColors.empty();
    item.whiteDay = item.whiteDay || mesh->colorReport.whiteDay;
    item.clampedCorners += mesh->colorReport.clampedCorners;
    for (const std::string& map : mesh->colorReport.wrongDimensionMaps) item.wrongDimensionMaps.push_back(map);
  }
  return items;
}

void WarnColorFindings(const std::vector<ItemFacts>& items, std::vector<scene::MessageLines>& warnings) {
  std::vector<std::string> withoutDay;
  for (const ItemFacts& item : items) {
    if (!item.day) withoutDay.push_back(item.name);
  }
  if (!withoutDay.empty()) {
    warnings.push_back({(withoutDay.size() == 1 ? "The object " : "The objects ") + NameList(withoutDay) +
                            (withoutDay.size() == 1 ? " has" : " have") +
                            std::string(" no vertex colours: the game draws ") + (withoutDay.size() == 1 ? "it" : "them") +
                            " evenly bright, the same by day and by night.",
                        "Paint an RGB or RGBA vertex colour map (one whose name contains \"night\" for the "
                        "night) and export again."});
  }
  for (const ItemFacts& item : items) {
    if (item.clampedCorners > 0) {
      warnings.push_back({Plural(static_cast<std::size_t>(item.clampedCorners), "corner", "corners") + " of " +
                              Quoted(item.name) +
                              " had a colour value outside 0 to 1 or not a number; it was clamped (a non-number "
                              "to 0).",
                          "Check the values of its colour maps in Modeler if the colours look wrong."});
    }
    for (const std::string& map : item.wrongDimensionMaps) {
      warnings.push_back({"The colour map " + Quoted(map) + " of " + Quoted(item.name) +
                              " has a number of components its type does not have, and was ignored.",
                          "Make it an RGB map of 3 or an RGBA map of 4 components and export again."});
    }
  }
}

std::string ColorPhrase(const std::vector<ItemFacts>& items) {
  std::size_t day = 0;
  std::size_t night = 0;
  for (const ItemFacts& item : items) {
    day += item.day ? 1 : 0;
    night += item.night ? 1 : 0;
  }
  if (items.empty() || day == 0) return "no vertex colours";
  if (night == items.size()) return "day and night colours";
  if (day == items.size() && night == 0) return "day colours";
  return "day colours on " + std::to_string(day) + " of " + Plural(items.size(), "object", "objects") +
         ", night colours on " + std::to_string(night);
}

std::string DescribeNotes(const std::vector<ItemFacts>& items, const scene::DffExporter& exporter) {
  std::string notes;
  for (const ItemFacts& item : items) {
    if (item.parts > 1) {
      notes += " " + Quoted(item.name) + " has more vertices than one geometry can address and was split into " +
               std::to_string(item.parts) + " parts.";
    }
  }
  std::vector<std::string> whiteDay;
  for (const ItemFacts& item : items) {
    if (item.whiteDay) whiteDay.push_back(item.name);
  }
  if (!whiteDay.empty()) {
    notes += " " + NameList(whiteDay) + (whiteDay.size() == 1 ? " has" : " have") +
             " only a night colour map, so its day colours are white.";
  }
  const std::size_t leftOut = exporter.leftOutItems.size();
  if (leftOut > 0) {
    notes += " " + Plural(leftOut, "collision or shadow item was", "collision or shadow items were") +
             " left out of the model.";
  }
  return notes;
}

}  // namespace

MapFindings DescribeMapModel(const LWItemInfo& itemInfo, const scene::DffExporter& exporter,
                             const std::string& dffFileName) {
  MapFindings findings;
  if (const std::optional<scene::MessageLines> cut = scene::DescribeCutNames(exporter.frameNameCuts)) {
    findings.warnings.push_back(*cut);
  }
  const std::vector<ItemFacts> items = GatherItems(itemInfo, exporter);
  WarnColorFindings(items, findings.warnings);
  findings.dffSummary = dffFileName + " (" +
                        Plural(exporter.meshObjects.size(), "geometry", "geometries") + ", " + ColorPhrase(items) +
                        ")";
  findings.notes = DescribeNotes(items, exporter);
  return findings;
}

}  // namespace mapexport
