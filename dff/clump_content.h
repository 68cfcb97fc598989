// What the clump writer writes, asked for while it writes: the frames in
// FrameList order, the geometries with their materials (one atomic each,
// on its frame), and the collision data embedded after the last atomic.
// The writer reads each element when its chunk is written, so a content
// built once for a million triangles is read in place, never copied.
#pragma once

#include <array>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/matrix.h"

namespace dff {

struct ClumpFrame {
  // Its upper 3x3 is what the FrameList carries.
  const platform::Matrix4& rotation;
  // Relative to the parent frame.
  platform::Vec3f position;
  std::int32_t parentIndex;  // -1 for a root frame
  const std::string& name;
};

// One geometry's arrays as they are written: per vertex positions, normals
// (none when prelit), one UV per vertex and set, day and night colours
// (none without colours); per triangle corner its vertex and material.
struct ClumpGeometry {
  std::int32_t geometryIndex;
  std::int32_t frameIndex;
  // Names the geometry in messages when its arrays cannot be written.
  std::string_view frameName;
  std::int32_t vertexCount;
  std::int32_t triangleCount;
  std::int32_t uvSetCount;
  std::int32_t materialCount;
  const std::vector<platform::Vec3f>& positions;
  const std::vector<platform::Vec3f>& normals;
  const std::vector<std::vector<std::array<float, 2>>>& uvSets;  // [set][vertex]
  const std::vector<std::array<std::uint8_t, 4>>& dayColors;
  const std::vector<std::array<std::uint8_t, 4>>& nightColors;
  const std::vector<std::int32_t>& cornerVertices;
  const std::vector<std::int32_t>& cornerMaterials;
};

struct ClumpMaterial {
  std::array<std::uint8_t, 4> rgba;
  std::int32_t textured;
  // Empty unless textured.
  const std::string& textureName;
  // With an environment map: the image its Texture names.
  const std::optional<std::string>& reflectionImageName;
  float reflectivity;
  float glossiness;
};

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};

// The collision data, embedded whole: a file open for reading, and its name
// for the message when reading it fails.  No file, no collision.
struct CollisionFile {
  std::unique_ptr<std::FILE, FileCloser> file;
  std::string path;
};

class ClumpContent {
 public:
  virtual ~ClumpContent() = default;

  virtual std::int32_t FrameCount() const = 0;
  // Frame `index` of the FrameList.
  virtual ClumpFrame Frame(std::int32_t index) const = 0;
  // Geometries and atomics alike.
  virtual std::int32_t GeometryCount() const = 0;
  virtual ClumpGeometry Geometry(std::int32_t index) const = 0;
  virtual ClumpMaterial Material(std::int32_t geometry, std::int32_t material) const = 0;
  // Asked once, after the last atomic (also when the stream has failed by
  // then); the writer closes the file once the clump's Extension is written.
  virtual CollisionFile OpenCollision() = 0;
};

}  // namespace dff
