// Hand-built DFF files for the reader's tests: a chunk tree in memory that
// goes out through the system's own chunk writer, and a small complete clump
// built from a model that the tests compare the decoded records with.
#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "dff/chunk_type.h"
#include "dff/output_stream.h"

namespace dffinfo::testing {

using Bytes = std::vector<std::uint8_t>;

// Plain little-endian data for a payload.
class Payload {
 public:
  Payload& U16(std::uint16_t value);
  Payload& U32(std::uint32_t value);
  Payload& I32(std::int32_t value);
  Payload& F32(float value);
  Payload& Raw(const std::string& text);
  Bytes bytes() const { return stream_.bytes(); }

 private:
  dff::OutputStream stream_;
};

struct Node {
  std::uint32_t type = 0;
  Bytes data;               // plain bytes before the children
  std::vector<Node> children;
  Bytes trailer;            // plain bytes after the children
  std::string tag;          // when set, the header offset is recorded under it
  std::uint32_t version = dff::kLibraryVersion;
};

Node Make(dff::ChunkType type, Bytes data = {}, std::vector<Node> children = {});
Node Make(std::uint32_t type, Bytes data = {}, std::vector<Node> children = {});
Node Tagged(Node node, std::string tag);

struct File {
  Bytes bytes;
  std::map<std::string, std::size_t> offsets;  // header offset of each tagged node
};
File Serialise(const std::vector<Node>& topLevel);

// The model of the sample clump.  Tests change it to make damaged files.
struct SampleTexture {
  std::string name;
  std::string mask;
  std::uint32_t filterWord = 0x00011106;
};

struct SampleMaterial {
  std::array<std::uint8_t, 4> rgba{};
  std::uint32_t textured = 0;
  std::optional<SampleTexture> texture;
  std::optional<SampleTexture> environmentMap;  // with a coefficient of `reflectivity`
  float reflectivity = 0.0f;
  float glossiness = 0.0f;
  bool reflectionRecord = false;
};

struct SampleFrame {
  std::array<float, 9> rotation{1, 0, 0, 0, 1, 0, 0, 0, 1};
  std::array<float, 3> position{};
  std::int32_t parent = -1;
  std::string name;
};

struct SampleSplit {
  std::uint32_t material = 0;
  std::vector<std::uint32_t> indices;
};

struct SampleGeometry {
  std::uint32_t format = 0x00010076;
  std::vector<std::array<std::uint8_t, 4>> prelight;  // written when PRELIT (0x08) is set
  std::vector<std::vector<std::array<float, 2>>> uvSets;
  std::vector<std::array<std::uint16_t, 4>> triangles;  // a, b, c, material
  std::array<float, 4> sphere{};
  std::vector<std::array<float, 3>> positions;
  std::vector<std::array<float, 3>> normals;
  std::vector<std::int32_t> slots;
  std::vector<SampleMaterial> materials;
  std::vector<SampleSplit> splits;
  std::uint32_t splitTotal = 0;
  // The Extra Vert Colour record's payload, after the GeometryExtra record.
  std::optional<Bytes> nightColors;
  // The 2d effects record's payload, last in the Extension.
  std::optional<Bytes> effects2d;
};

struct SampleAtomic {
  std::uint32_t frame = 0;
  std::uint32_t geometry = 0;
};

struct SampleClump {
  std::uint32_t atomicCount = 1;
  std::vector<SampleFrame> frames;
  std::uint32_t geometryCount = 1;
  std::vector<SampleGeometry> geometries;
  std::vector<SampleAtomic> atomics;
  std::optional<Bytes> collision;
};

// Two frames, one geometry of two triangles with one UV set and two
// materials (one textured, with an environment map, reflection and
// specular records), one atomic and an embedded collision.
SampleClump MakeSampleClump();

// The clump as the exporter writes it.  Tags: "clump", "clump struct",
// "frame list", "frame list struct", "geometry list struct",
// "geometry N", "geometry N struct", "material list N", "material N.M",
// "material N.M struct", "texture N.M", "effects N.M", "reflection N.M",
// "specular N.M", "bin mesh N", "extra N", "night N", "effects2d N", "atomic N struct",
// "clump extension", "collision".
Node BuildClump(const SampleClump& clump);

}  // namespace dffinfo::testing
