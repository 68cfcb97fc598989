// Clumps written by the writer and read back through the inspector.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "dff/clump_writer.h"
#include "dff_inspect/inspect.h"
#include "tests/scene_frames/host_exporter.h"

namespace scene::testing {

using Bytes = std::vector<std::uint8_t>;
using Words = std::vector<std::uint32_t>;

// The nth child of a type, or an empty chunk and a failure.
inline dffinfo::Chunk Child(const dffinfo::Chunk& parent, dff::ChunkType type,
                            std::size_t nth = 0) {
  const auto found = dffinfo::ChildrenOfType(parent, type);
  if (nth < found.size()) return *found[nth];
  ADD_FAILURE() << parent.path << " lacks child " << nth << " of type " << dff::ToWord(type);
  return dffinfo::Chunk();
}

// The exporter's clump, failing the test on a failed stream or on damage
// the inspector finds.
struct Written {
  explicit Written(DffExporter& exporter) {
    dff::OutputStream stream;
    exporter.WriteClump(stream);
    EXPECT_FALSE(stream.failed()) << stream.error();
    bytes = stream.bytes();
    const dffinfo::Inspection inspection = dffinfo::Inspect(bytes);
    for (const auto& finding : inspection.findings.all()) {
      if (finding.severity == dffinfo::Severity::Damage) ADD_FAILURE() << Describe(finding);
    }
    if (inspection.chunks.size() == 1) clump = inspection.chunks[0];
    if (!inspection.clumps.empty()) record = inspection.clumps[0];
  }

  Bytes Payload(const dffinfo::Chunk& chunk) const {
    if (chunk.end() > bytes.size()) return Bytes();
    return Bytes(bytes.begin() + static_cast<std::ptrdiff_t>(chunk.payloadOffset()),
                 bytes.begin() + static_cast<std::ptrdiff_t>(chunk.end()));
  }
  Words WordsOf(const dffinfo::Chunk& chunk) const {
    const Bytes payload = Payload(chunk);
    Words words(payload.size() / 4);
    for (std::size_t i = 0; i < 4 * words.size(); ++i) {
      words[i / 4] |= static_cast<std::uint32_t>(payload[i]) << (8 * (i % 4));
    }
    return words;
  }
  dffinfo::Chunk Geometry() const {
    return Child(Child(clump, dff::ChunkType::GeometryList), dff::ChunkType::Geometry);
  }
  dffinfo::Chunk Material() const {
    return Child(Child(Geometry(), dff::ChunkType::MaterialList), dff::ChunkType::Material);
  }

  Bytes bytes;
  dffinfo::Chunk clump;
  dffinfo::ClumpRecord record;
};

// A model built by hand over a host that serves only the scene's name and
// the file request.
class ClumpModel {
 public:
  ClumpModel() : built_(CityScene()) {}
  static host::Scene CityScene() {
    host::Scene scene;
    scene.name = "city.lws";
    return scene;
  }

  DffExporter& exporter() { return built_.exporter; }
  host::StandInHost& host() { return built_.host; }

  // A frame at rest; the FrameList lists frames in the order they are added.
  FrameNode& AddFrame(const std::string& name, int parentIndex = -1) {
    auto frame = std::make_unique<FrameNode>();
    frame->index = static_cast<std::int32_t>(exporter().frames.size());
    frame->name = name;
    frame->rotationMatrix = std::make_unique<platform::Matrix4>(platform::Matrix4::Identity());
    if (parentIndex >= 0) frame->parent = exporter().orderedFrames.at(std::size_t(parentIndex));
    exporter().orderedFrames.push_back(frame.get());
    exporter().frames.push_back(std::move(frame));
    return *exporter().frames.back();
  }

  // One triangle (0, 1, 2) of one white, untextured material.
  MeshObject& AddTriangleMesh(FrameNode& frame) {
    auto& meshes = exporter().meshObjects;
    meshes.push_back(std::make_unique<MeshObject>(nullptr, nullptr, nullptr, nullptr, nullptr,
                                                  nullptr, static_cast<std::int32_t>(meshes.size()),
                                                  &frame, "object.lwo"));
    MeshObject& mesh = *meshes.back();
    mesh.materials.resize(1);
    mesh.materials[0].rgba = {255, 255, 255, 255};
    mesh.materials[0].triangleCount = 1;
    mesh.positions = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}};
    mesh.normals = {{0, 0, 1}, {0, 0, 1}, {0, 0, 1}};
    mesh.cornerVertices = {0, 1, 2};
    mesh.cornerMaterials = {0, 0, 0};
    mesh.triangleCount = 1;
    mesh.vertexCount = 3;
    return mesh;
  }

 private:
  HostExporter built_;
};

}  // namespace scene::testing
