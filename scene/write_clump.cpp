// DffExporter::WriteClump: the exporter's model handed to the clump writer
// as it stands, and the COL file asked for while the clump is written, once
// its last Atomic is.
#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "dff/clump_writer.h"
#include "platform/host_path.h"
#include "scene/dff_exporter.h"
#include "scene/file_request.h"

namespace scene {
namespace {

// The model read in place: frames in FrameList order, one geometry and
// atomic per mesh object.
class ExporterClump : public dff::ClumpContent {
 public:
  explicit ExporterClump(DffExporter& exporter) : exporter_(exporter) {}

  std::int32_t FrameCount() const override { return static_cast<std::int32_t>(exporter_.frames.size()); }

  dff::ClumpFrame Frame(std::int32_t index) const override {
    const FrameNode& frame = *exporter_.orderedFrames[static_cast<std::size_t>(index)];
    const std::int32_t parentIndex = frame.parent != nullptr ? frame.parent->index : -1;
    return {*frame.rotationMatrix, frame.position, parentIndex, frame.name};
  }

  std::int32_t GeometryCount() const override {
    return static_cast<std::int32_t>(exporter_.meshObjects.size());
  }

  dff::ClumpGeometry Geometry(std::int32_t index) const override {
    const MeshObject& mesh = Mesh(index);
    return {mesh.meshIndex,
            mesh.frame != nullptr ? mesh.frame->index : -1,
            mesh.frame != nullptr ? std::string_view(mesh.frame->name) : std::string_view(),
            mesh.vertexCount,
            mesh.triangleCount,
            mesh.uvSetCount,
            static_cast<std::int32_t>(mesh.materials.size()),
            mesh.positions,
            mesh.normals,
            mesh.uvSets,
            mesh.dayColors,
            mesh.nightColors,
            mesh.cornerVertices,
            mesh.cornerMaterials};
  }

  dff::ClumpMaterial Material(std::int32_t geometry, std::int32_t material) const override {
    const MaterialEntry& entry = Mesh(geometry).materials[static_cast<std::size_t>(material)];
    return {entry.rgba,        entry.textured,     entry.textureName, entry.reflectionImageName,
            entry.reflectivity, entry.glossiness};
  }

  // With the choice to ask, the user picks the COL file; one that cannot be
  // opened is embedded as none and named in colError.
  dff::CollisionFile OpenCollision() override {
    dff::CollisionFile collision;
    if (!exporter_.choices.askForCollision) return collision;
    const char* sceneName = exporter_.sceneInfo != nullptr ? exporter_.sceneInfo->name : nullptr;
    const FileChoice col =
        RequestColFile(exporter_.fileRequest, exporter_.fileRequestVersion, sceneName);
    if (!col.chosen) return collision;
    errno = 0;
    collision.file.reset(
        platform::OpenFile(platform::PathFromHostText(col.path, exporter_.fileRequestText), "rb"));
    if (collision.file == nullptr) {
      exporter_.colError = "The COL file " + col.path + " could not be opened: " + std::strerror(errno) + ".";
    }
    collision.path = col.path;
    return collision;
  }

 private:
  const MeshObject& Mesh(std::int32_t index) const {
    return *exporter_.meshObjects[static_cast<std::size_t>(index)];
  }

  DffExporter& exporter_;
};

}  // namespace

std::int32_t DffExporter::WriteClump(dff::OutputStream& stream) {
  colError.reset();
  ExporterClump content(*this);
  return dff::WriteClump(stream, content);
}

}  // namespace scene
