#include "plugin/section_export_command.h"

#include <cstdlib>
#include <exception>
#include <optional>
#include <string>

#include "map_export/map_effects.h"
#include "map_export/section_export.h"
#include "scene/export_messages.h"
#include "scene/file_request.h"
#include "scene/host_services.h"
#include "section/section_limits.h"

namespace plugin {
namespace {

using scene::HostServices;
using scene::MessageLines;

// The first ID the environment asks for; nothing when it asks for none, an
// error message when what it asks for is no model ID.
std::optional<int> FirstIdFromEnvironment(std::optional<std::string>& error) {
  const char* text = std::getenv(kFirstIdVariable);
  if (text == nullptr || *text == '\0') return std::nullopt;
  char* end = nullptr;
  const long value = std::strtol(text, &end, 10);
  if (*end != '\0' || value < 0 || value > section::kHighestModelId) {
    error = std::string(kFirstIdVariable) + " is \"" + text + "\", which is no model ID from 0 to 19999.";
    return std::nullopt;
  }
  return static_cast<int>(value);
}

// Whether to build LOD models: yes unless the environment says "0"; an
// error message when it says neither "0" nor "1".
bool MakeLodsFromEnvironment(std::optional<std::string>& error) {
  const char* text = std::getenv(kMakeLodsVariable);
  if (text == nullptr || *text == '\0' || std::string(text) == "1") return true;
  if (std::string(text) == "0") return false;
  error = std::string(kMakeLodsVariable) + " is \"" + text + "\", which is neither 0 nor 1.";
  return false;
}

}  // namespace

int LWCALL ActivateSectionExportCommand(int, GlobalFunc global, void*, void*) {
  const HostServices services = scene::AcquireHostServices(global);
  if (scene::ReportMissingService(services, "section exporter")) return AFUNC_OK;
  if (services.sceneInfo->numPoints <= 0) {
    services.messages->error("The scene has no points, so there is no map section to export.",
                             "Load the section's objects into Layout and run the command again.");
    return AFUNC_OK;
  }
  std::optional<std::string> badFirstId;
  const int firstId = FirstIdFromEnvironment(badFirstId).value_or(section::kDefaultFirstId);
  if (badFirstId) {
    services.messages->error(badFirstId->c_str(), "Set it to a whole number from 0 to 19999, or unset it.");
    return AFUNC_OK;
  }
  std::optional<std::string> badMakeLods;
  const bool makeLods = MakeLodsFromEnvironment(badMakeLods);
  if (badMakeLods) {
    services.messages->error(badMakeLods->c_str(), "Set it to 0 to build no LOD models, or unset it to build them.");
    return AFUNC_OK;
  }
  const scene::FileChoice choice = scene::RequestIdeFile(services.fileRequest, services.fileRequestVersion, services.sceneInfo->name);
  if (!choice.chosen) return AFUNC_OK;
  mapexport::SectionOutcome outcome;
  // Nothing may escape into the host: memory running out midway is
  // reported like any other failure, with nothing written.
  try {
    outcome = mapexport::ExportSection(services, mapexport::AcquireLightInfo(global), choice.path, firstId, makeLods);
  } catch (const std::exception& error) {
    outcome.error = MessageLines{std::string("The section was not exported: ") + error.what() + ".",
                                 "Nothing of the section was written; free memory or export a smaller scene."};
  }
  scene::ShowOutcome(*services.messages, outcome.warnings, outcome.error, outcome.summary);
  return AFUNC_OK;
}

}  // namespace plugin
