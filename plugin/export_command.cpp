#include "plugin/export_command.h"

#include <memory>
#include <optional>
#include <string>

#include "dff/output_file.h"
#include "dff/output_stream.h"
#include "scene/dff_exporter.h"
#include "scene/export_messages.h"
#include "scene/file_request.h"
#include "scene/host_services.h"
#include "scene/mesh_parts.h"

namespace plugin {
namespace {

using scene::HostServices;
using scene::MessageLines;
using scene::SecondLine;
using scene::Service;

void ShowError(const HostServices& services, const MessageLines& lines) {
  services.messages->error(lines.line1.c_str(), SecondLine(lines));
}

// The first geometry the game could not address, described for the user;
// empty when every geometry fits.
std::string DescribeOversizedGeometry(const HostServices& services,
                                      const scene::DffExporter& exporter) {
  for (const auto& mesh : exporter.meshObjects) {
    if (mesh->vertexCount <= scene::kMaxGeometryVertices) continue;
    const char* name = services.itemInfo->name(mesh->frame->itemId);
    return "The object \"" + std::string(name != nullptr ? name : "") + "\" has " +
           std::to_string(mesh->vertexCount) + " vertices; a DFF geometry holds at most " +
           std::to_string(scene::kMaxGeometryVertices) + ".";
  }
  return {};
}

struct ExportOutcome {
  // What went wrong, shown instead of success.
  std::optional<MessageLines> error;
  // The frame names cut to fit the game, shown once the file is complete.
  std::optional<MessageLines> cutNames;
};

// Builds the model and writes it.  The exporter lives exactly as long as
// this call, so whatever the caller then shows comes after it is freed.
ExportOutcome ExportTo(const HostServices& services, const std::string& path) {
  const std::unique_ptr<scene::DffExporter> owned = scene::ExporterFor(services);
  scene::DffExporter& exporter = *owned;
  exporter.BuildFrames();
  exporter.BuildAllGeometry();

  const std::string oversized = DescribeOversizedGeometry(services, exporter);
  if (!oversized.empty()) {
    exporter.ReleaseAll();
    return {MessageLines{oversized, "Split the object into smaller layers and export again."}, {}};
  }

  dff::OutputFile file(path, services.ServedAs(Service::kFileRequest).text);
  if (!file.ok()) {
    exporter.ReleaseAll();
    return {MessageLines{file.error(), "Choose another folder or file name and export again."}, {}};
  }
  dff::OutputStream& stream = file.stream();
  exporter.WriteClump(stream);
  const std::string colError = exporter.colError.value_or("");
  const std::optional<MessageLines> cutNames = scene::DescribeCutNames(exporter.frameNameCuts);
  exporter.ReleaseAll();

  if (stream.failed()) {
    file.Discard();
    return {MessageLines{"The DFF file " + path + " was not written: " + stream.error() + ".",
                         "Nothing was changed on disk."},
            {}};
  }
  if (!file.Commit()) return {MessageLines{file.error(), "Nothing was changed on disk."}, {}};
  if (!colError.empty()) {
    return {MessageLines{colError, "The DFF file was written without collision data."}, cutNames};
  }
  return {std::nullopt, cutNames};
}

}  // namespace

int LWCALL ActivateExportCommand(int, GlobalFunc global, void*, void*) {
  const HostServices services = scene::AcquireHostServices(global);
  if (scene::ReportMissingService(services, "DFF exporter")) return AFUNC_OK;
  if (services.sceneInfo->numPoints <= 0) {
    services.messages->error("Crazy fool, no objects in the scene!", nullptr);
    return AFUNC_OK;
  }
  const scene::FileChoice choice =
      scene::RequestDffFile(services.fileRequest, services.fileRequestVersion, services.sceneInfo->name);
  if (!choice.chosen) return AFUNC_OK;
  const ExportOutcome outcome = ExportTo(services, choice.path);
  if (outcome.cutNames) {
    services.messages->warning(outcome.cutNames->line1.c_str(), outcome.cutNames->line2.c_str());
  }
  if (outcome.error) {
    ShowError(services, *outcome.error);
  } else {
    services.messages->info("Export successful", nullptr);
  }
  return AFUNC_OK;
}

}  // namespace plugin
