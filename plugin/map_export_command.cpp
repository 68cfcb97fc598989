#include "plugin/map_export_command.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "dff/output_file.h"
#include "dff/output_stream.h"
#include "map_export/map_collision.h"
#include "map_export/map_dictionary.h"
#include "map_export/map_effects.h"
#include "map_export/map_findings.h"
#include "platform/path_rules.h"
#include "scene/dff_exporter.h"
#include "scene/export_messages.h"
#include "scene/file_request.h"
#include "scene/host_services.h"

namespace plugin {
namespace {

using scene::HostServices;
using scene::MessageLines;
using scene::Service;

struct MapOutcome {
  std::vector<MessageLines> warnings;
  // What went wrong, shown instead of the summary.
  std::optional<MessageLines> error;
  std::string summary;
};

// Why a scene gives no model, or nothing when it gives one.
std::optional<MessageLines> DescribeEmptyModel(const scene::DffExporter& exporter) {
  if (!exporter.meshObjects.empty()) return std::nullopt;
  if (!exporter.leftOutItems.empty()) {
    return MessageLines{"Every object in the scene is a collision or shadow item, so the DFF would hold no model.",
                        "Objects and layers named col, collision, col_..., CM_..., ..._col, shadow, shadow_..., "
                        "SM_... or ..._shadow are left out; load the visible model too and export again."};
  }
  return MessageLines{"No object in the scene has polygons, so the DFF would hold no model.",
                      "Load the map object's model into Layout and export again."};
}

// A file beside the DFF: its path with `extension` for the DFF's.
std::string PathBeside(const std::string& dffPath, const char* extension) {
  const std::string fileName = platform::StripPath(dffPath);
  return dffPath.substr(0, dffPath.size() - fileName.size()) + platform::RemoveExtension(fileName) + extension;
}

std::string ListOfFiles(const std::vector<std::string>& files) {
  std::string list;
  for (std::size_t i = 0; i < files.size(); ++i) {
    if (i > 0) list += i + 1 == files.size() ? " and " : ", ";
    list += files[i];
  }
  return list;
}

// Builds the model and writes the DFF, then the TXD and the COL beside it;
// the exporter lives only until the DFF is written.
MapOutcome ExportMapTo(const HostServices& services, const LWLightInfo* lightInfo, const std::string& path) {
  const std::unique_ptr<scene::DffExporter> owned = scene::ExporterFor(services);
  scene::DffExporter& exporter = *owned;
  exporter.choices = scene::MapObjectChoices();
  exporter.BuildFrames();
  if (std::optional<MessageLines> empty = DescribeEmptyModel(exporter)) {
    exporter.ReleaseAll();
    return {{}, empty, {}};
  }
  exporter.BuildAllGeometry();
  const effects::EffectsOutcome modelEffects =
      effects::AttachEffects(*services.itemInfo, *services.objectInfo, lightInfo, exporter);
  mapexport::MapFindings findings =
      mapexport::DescribeMapModel(*services.itemInfo, exporter, platform::StripPath(path));
  const std::vector<MessageLines> effectWarnings = mapexport::EffectWarnings(modelEffects);
  findings.warnings.insert(findings.warnings.end(), effectWarnings.begin(), effectWarnings.end());
  findings.notes += mapexport::DescribeEffects(modelEffects);
  if (modelEffects.error) {
    exporter.ReleaseAll();
    return {findings.warnings, MessageLines{modelEffects.error->line1, modelEffects.error->line2}, {}};
  }
  const std::vector<txdbuild::TextureUse> textures = mapexport::ModelTextureUses(*services.itemInfo, exporter);
  col::EntrySource collision = mapexport::VisibleModelSource(exporter);
  const std::vector<scene::DffExporter::LeftOutItem> leftOut = exporter.leftOutItems;

  dff::OutputFile file(path, services.ServedAs(Service::kFileRequest).text);
  if (!file.ok()) {
    exporter.ReleaseAll();
    return {findings.warnings, MessageLines{file.error(), "No file was written; choose another folder or name."}, {}};
  }
  dff::OutputStream& stream = file.stream();
  exporter.WriteClump(stream);
  exporter.ReleaseAll();
  if (stream.failed()) {
    file.Discard();
    return {findings.warnings,
            MessageLines{"The DFF file " + path + " was not written: " + stream.error() + ".", "No file was written."},
            {}};
  }
  if (!file.Commit()) return {findings.warnings, MessageLines{file.error(), "No file was written."}, {}};

  const mapexport::MapDictionary dictionary =
      mapexport::WriteMapDictionary(services, textures, PathBeside(path, ".txd"));
  std::vector<MessageLines> warnings = findings.warnings;
  warnings.insert(warnings.end(), dictionary.warnings.begin(), dictionary.warnings.end());
  if (dictionary.error) {
    return {warnings, MessageLines{dictionary.error->line1, platform::StripPath(path) + " was written."}, {}};
  }
  const mapexport::MapCollision collisionFile =
      mapexport::WriteMapCollision(services, leftOut, std::move(collision), path, PathBeside(path, ".col"));
  warnings.insert(warnings.end(), collisionFile.warnings.begin(), collisionFile.warnings.end());
  std::vector<std::string> written{findings.dffSummary, dictionary.summary};
  if (collisionFile.error) {
    return {warnings, MessageLines{*collisionFile.error, "Wrote " + ListOfFiles(written) + "." + findings.notes}, {}};
  }
  if (!collisionFile.summary.empty()) written.push_back(collisionFile.summary);
  return {warnings, std::nullopt, "Wrote " + ListOfFiles(written) + "." + findings.notes + collisionFile.note};
}

}  // namespace

int LWCALL ActivateMapExportCommand(int, GlobalFunc global, void*, void*) {
  const HostServices services = scene::AcquireHostServices(global);
  if (scene::ReportMissingService(services, "map exporter")) return AFUNC_OK;
  if (services.sceneInfo->numPoints <= 0) {
    services.messages->error("The scene has no points, so there is no map object to export.",
                             "Load the map object into Layout and run the command again.");
    return AFUNC_OK;
  }
  const scene::FileChoice choice =
      scene::RequestDffFile(services.fileRequest, services.fileRequestVersion, services.sceneInfo->name);
  if (!choice.chosen) return AFUNC_OK;
  const MapOutcome outcome = ExportMapTo(services, mapexport::AcquireLightInfo(global), choice.path);
  scene::ShowOutcome(*services.messages, outcome.warnings, outcome.error, outcome.summary);
  return AFUNC_OK;
}

}  // namespace plugin
