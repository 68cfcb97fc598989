#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

#include "platform/matrix.h"
#include "scene/geometry_steps.h"
#include "scene/hash_index.h"
#include "scene/point_chains.h"

namespace scene {
namespace {

// The first two components of a sample (components it lacks count as 0),
// as the game reads texture coordinates.
std::array<float, 2> TexCoord(const UvSampleList& list, std::int32_t sample) {
  std::array<float, 2> uv{0.0f, 0.0f};
  const float* values = list.Values(sample);
  for (std::size_t i = 0; i < 2 && i < static_cast<std::size_t>(list.dimension); ++i) uv[i] = values[i];
  // LightWave's images start at their bottom row, the game's at their top.
  return {uv[0], 1.0f - uv[1]};
}

// The vertices of every point, one per distinct combination of samples
// over all maps, found again by that combination.
class VertexFinder {
 public:
  VertexFinder(MeshObject& object, std::size_t maps, std::size_t expected)
      : object_(object), maps_(maps), chains_(object.points.size(), expected) {}

  std::int32_t FindOrAdd(std::int32_t point, const std::int32_t* samples) {
    const std::int32_t found = chains_.Find(
        point, [&] { return Hash(point, samples); }, [&](std::int32_t vertex) { return Matches(vertex, samples); });
    if (found >= 0) return found;
    MeshVertex made;
    made.point = point;
    object_.vertices.push_back(made);
    object_.vertexSamples.insert(object_.vertexSamples.end(), samples, samples + maps_);
    return chains_.Add(point, [&](std::int32_t vertex) -> std::optional<std::uint64_t> {
      return Hash(point, SamplesOf(vertex));
    });
  }

 private:
  const std::int32_t* SamplesOf(std::int32_t vertex) const {
    return object_.vertexSamples.data() + static_cast<std::size_t>(vertex) * maps_;
  }

  bool Matches(std::int32_t vertex, const std::int32_t* samples) const {
    return std::equal(samples, samples + maps_, SamplesOf(vertex));
  }

  std::uint64_t Hash(std::int32_t point, const std::int32_t* samples) const {
    std::uint64_t hash = HashCombine(0, static_cast<std::uint64_t>(point));
    for (std::size_t map = 0; map < maps_; ++map) hash = HashCombine(hash, static_cast<std::uint64_t>(samples[map]));
    return hash;
  }

  MeshObject& object_;
  std::size_t maps_;
  PointChains chains_;
};

// Numbers the vertices in order of first use, triangle by triangle and
// corners 0, 1, 2, and replaces each corner's vertex by its number.
// Returns the vertices in that order.
std::vector<std::int32_t> NumberVertices(MeshObject& object) {
  std::vector<std::int32_t> numbering;
  numbering.reserve(object.vertices.size());
  for (std::int32_t& corner : object.cornerVertices) {
    MeshVertex& vertex = object.vertices[static_cast<std::size_t>(corner)];
    if (vertex.outputIndex < 0) {
      vertex.outputIndex = static_cast<std::int32_t>(numbering.size());
      numbering.push_back(corner);
    }
    corner = vertex.outputIndex;
  }
  return numbering;
}

// True when the matrix's 3x3 is a positive multiple of the identity, which
// leaves every normal's direction as it is.
bool KeepsDirections(const platform::Matrix4& matrix) {
  const auto& m = matrix.m;
  return m[0][0] > 0.0f && m[0][0] == m[1][1] && m[1][1] == m[2][2] && m[0][1] == 0.0f && m[0][2] == 0.0f &&
         m[1][0] == 0.0f && m[1][2] == 0.0f && m[2][0] == 0.0f && m[2][1] == 0.0f;
}

// A model root's uneven scaling goes into its points; its normals then
// take the inverse transpose, which keeps them square to the scaled faces.
void TurnNormals(std::vector<platform::Vec3f>& normals, const platform::Matrix4& matrix) {
  if (normals.empty() || KeepsDirections(matrix)) return;
  const platform::Matrix4 inverse = platform::MatrixInverse(matrix);
  platform::Matrix4 inverseTransposed = platform::Matrix4::Identity();
  for (std::size_t r = 0; r < 3; ++r) {
    for (std::size_t c = 0; c < 3; ++c) inverseTransposed.m[r][c] = inverse.m[c][r];
  }
  for (platform::Vec3f& normal : normals) {
    normal = platform::Vec3Normalize(platform::Vec3TransformNormal(normal, inverseTransposed));
  }
}

// Positions moved so that the item's pivot is the frame's origin.  The
// frame's matrix carries every turn and scaling, so a translation is all
// that most frames' vertices take; a model root's frame is the identity,
// and its scaling goes into the vertices.
void MoveIntoFrameSpace(MeshObject& object) {
  if (object.frame == nullptr || object.frame->vertexMatrix == nullptr) return;
  const platform::Matrix4& matrix = *object.frame->vertexMatrix;
  for (platform::Vec3f& position : object.positions) position = platform::Vec3TransformCoord(position, matrix);
  TurnNormals(object.normals, matrix);
}

// The room to reserve for the vertices.  Every sample of a map is some
// corner's, and that corner's vertex stands for it, so a mesh has at least
// as many vertices as any map has samples, and with one map exactly as
// many.  Without maps, each point that a triangle uses has one vertex, and
// the point count bounds those.  Where several maps split points (UV
// seams and colour seams), their splits mostly lie apart and add up, and
// where they meet they multiply: the sum and an eighth more keeps the
// lists from growing by doubling, within the corner count.
std::size_t VertexRoom(const MeshObject& object) {
  const std::size_t points = object.points.size();
  std::size_t room = points;
  std::size_t splits = 0;
  std::size_t splittingMaps = 0;
  for (const UvSampleList& list : object.uvSamples) {
    const auto samples = static_cast<std::size_t>(list.count);
    room = std::max(room, samples);
    if (samples > points) {
      splits += samples - points;
      ++splittingMaps;
    }
  }
  if (splittingMaps < 2) return room;
  const std::size_t combined = points + splits;
  return std::min(combined + combined / 8, object.polygons.size() * 3);
}

}  // namespace

// Each corner's vertex is written over the corner's samples, which take
// `maps` entries from position corner * maps: by the time corner c's
// vertex goes to position c, every sample stored before the corner's own
// has been read.  A mesh without maps has no samples to write over.
void MakeVertices(MeshObject& object) {
  const std::size_t maps = object.SampleStride();
  const std::size_t corners = object.polygons.size() * 3;
  const std::size_t room = VertexRoom(object);
  VertexFinder finder(object, maps, room);
  object.vertices.reserve(room);
  object.vertexSamples.reserve(room * maps);
  std::vector<std::int32_t> cornerVertices =
      maps > 0 ? std::move(object.cornerSamples) : std::vector<std::int32_t>(corners);
  object.cornerSamples = {};
  for (std::size_t corner = 0; corner < corners; ++corner) {
    const MeshPolygon& triangle = object.polygons[corner / 3];
    cornerVertices[corner] = finder.FindOrAdd(triangle.corners[corner % 3], cornerVertices.data() + corner * maps);
  }
  cornerVertices.resize(corners);
  object.cornerVertices = std::move(cornerVertices);
}

void WriteVertexArrays(MeshObject& object) {
  const std::vector<std::int32_t> numbering = NumberVertices(object);
  object.vertexCount = static_cast<std::int32_t>(numbering.size());
  const auto maps = static_cast<std::size_t>(object.uvSetCount);
  const std::size_t stride = object.SampleStride();

  const bool hasNormals = object.colorSetCount == 0;
  object.positions.reserve(numbering.size());
  if (hasNormals) object.normals.reserve(numbering.size());
  object.uvSets.assign(maps, {});
  for (auto& set : object.uvSets) set.resize(numbering.size());
  for (std::size_t j = 0; j < numbering.size(); ++j) {
    const auto v = static_cast<std::size_t>(numbering[j]);
    const MeshPoint& point = object.points[static_cast<std::size_t>(object.vertices[v].point)];
    object.positions.push_back(point.position);
    if (hasNormals) object.normals.push_back(point.normal);
    for (std::size_t map = 0; map < maps; ++map) {
      object.uvSets[map][j] = TexCoord(object.uvSamples[map], object.vertexSamples[v * stride + map]);
    }
  }
  WriteColorArrays(object, numbering);
  MoveIntoFrameSpace(object);
}

}  // namespace scene
