#include "plugin/export_command.h"

#include <optional>
#include <string>

#include "dff/output_stream.h"
#include "plugin/file_request.h"
#include "plugin/host_services.h"
#include "plugin/output_file.h"
#include "scene/dff_exporter.h"

namespace plugin {
namespace {

// The most vertices one geometry can address with 16-bit triangle indices.
constexpr std::int32_t kMaxGeometryVertices = 65535;

void ShowError(const HostServices& services, const std::string& line1, const std::string& line2) {
  services.messages->error(line1.c_str(), line2.empty() ? nullptr : line2.c_str());
}

// The first geometry the game could not address, described for the user;
// empty when every geometry fits.
std::string DescribeOversizedGeometry(const HostServices& services,
                                      const scene::DffExporter& exporter) {
  for (const auto& mesh : exporter.meshObjects) {
    if (mesh->vertexCount <= kMaxGeometryVertices) continue;
    const char* name = services.itemInfo->name(mesh->frame->itemId);
    return "The object \"" + std::string(name != nullptr ? name : "") + "\" has " +
           std::to_string(mesh->vertexCount) + " vertices; a DFF geometry holds at most " +
           std::to_string(kMaxGeometryVertices) + ".";
  }
  return {};
}

// What went wrong with an export, in the two lines of an error message.
struct ExportError {
  std::string line1;
  std::string line2;
};

// Builds the model and writes it.  The exporter lives exactly as long as
// this call, so whatever the caller then shows comes after it is freed.
std::optional<ExportError> ExportTo(const HostServices& services, const std::string& path) {
  scene::DffExporter exporter(services.sceneInfo, services.objectInfo, services.sceneObjects,
                              services.surfaceFuncs, services.itemInfo, services.imageList,
                              services.textureFuncs, services.fileRequest);
  exporter.sceneName = services.sceneInfo->name;
  exporter.fileRequestVersion = services.fileRequestVersion;
  exporter.fileRequestText = services.ServedAs(Service::kFileRequest).text;
  exporter.BuildFrames();
  exporter.BuildAllGeometry();

  const std::string oversized = DescribeOversizedGeometry(services, exporter);
  if (!oversized.empty()) {
    exporter.ReleaseAll();
    return ExportError{oversized, "Split the object into smaller layers and export again."};
  }

  OutputFile file(path, services.ServedAs(Service::kFileRequest).text);
  if (!file.ok()) {
    exporter.ReleaseAll();
    return ExportError{file.error(), "Choose another folder or file name and export again."};
  }
  dff::OutputStream& stream = file.stream();
  exporter.WriteClump(stream);
  const std::string colError = exporter.colError.value_or("");
  exporter.ReleaseAll();

  if (stream.failed()) {
    file.Discard();
    return ExportError{"The DFF file " + path + " was not written: " + stream.error() + ".",
                       "Nothing was changed on disk."};
  }
  if (!file.Commit()) return ExportError{file.error(), "Nothing was changed on disk."};
  if (!colError.empty()) {
    return ExportError{colError, "The DFF file was written without collision data."};
  }
  return std::nullopt;
}

}  // namespace

int LWCALL ActivateExportCommand(int, GlobalFunc global, void*, void*) {
  const HostServices services = AcquireHostServices(global);
  if (!services.missingService.empty()) {
    // Without the message service there is no one to tell.
    if (services.messages != nullptr) {
      ShowError(services, "This host does not provide the service \"" + services.missingService +
                              "\" that the DFF exporter needs.",
                "Run the exporter in a LightWave Layout that provides it.");
    }
    return AFUNC_OK;
  }
  if (services.sceneInfo->numPoints <= 0) {
    services.messages->error("Crazy fool, no objects in the scene!", nullptr);
    return AFUNC_OK;
  }
  const FileChoice choice = RequestDffFile(services.fileRequest, services.fileRequestVersion,
                                           services.sceneInfo->name);
  if (!choice.chosen) return AFUNC_OK;
  if (const auto error = ExportTo(services, choice.path)) {
    ShowError(services, error->line1, error->line2);
  } else {
    services.messages->info("Export successful", nullptr);
  }
  return AFUNC_OK;
}

}  // namespace plugin
