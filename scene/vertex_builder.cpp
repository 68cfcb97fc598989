#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/matrix.h"
#include "scene/geometry_steps.h"
#include "scene/hash_index.h"

namespace scene {
namespace {

// The first two components of a sample; components it lacks count as 0.
std::array<float, 2> TexCoord(const UvSample& sample) {
  std::array<float, 2> uv{0.0f, 0.0f};
  for (std::size_t i = 0; i < 2 && i < sample.values.size(); ++i) uv[i] = sample.values[i];
  return uv;
}

std::unique_ptr<MeshVertex> MakeVertex(const MeshPoint& point, const std::vector<std::int32_t>& sampleIndices) {
  auto vertex = std::make_unique<MeshVertex>();
  vertex->position = point.position;
  vertex->normal = point.normal;
  vertex->uvCount = point.uvSetCount;
  vertex->uv.reserve(sampleIndices.size());
  for (std::size_t map = 0; map < sampleIndices.size(); ++map) {
    vertex->uv.push_back(TexCoord(point.uvSamples[map][static_cast<std::size_t>(sampleIndices[map])]));
  }
  vertex->sampleIndices = sampleIndices;
  return vertex;
}

// The vertices of every point, one per distinct combination of samples
// over all maps, found again by that combination.
class VertexFinder {
 public:
  explicit VertexFinder(std::vector<MeshPoint>& points) : points_(points) { index_.Reserve(points.size()); }

  MeshVertex* FindOrAdd(std::int32_t point, const std::vector<std::int32_t>& sampleIndices) {
    const std::uint64_t hash = Hash(point, sampleIndices);
    const std::int32_t found = index_.Find(hash, [&](std::int32_t entry) {
      const Entry& e = entries_[static_cast<std::size_t>(entry)];
      return e.point == point && e.vertex->sampleIndices == sampleIndices;
    });
    if (found >= 0) return entries_[static_cast<std::size_t>(found)].vertex;

    MeshPoint& owner = points_[static_cast<std::size_t>(point)];
    owner.vertices.push_back(MakeVertex(owner, sampleIndices));
    MeshVertex* vertex = owner.vertices.back().get();
    index_.Insert(hash, static_cast<std::int32_t>(entries_.size()));
    entries_.push_back({point, vertex});
    return vertex;
  }

 private:
  struct Entry {
    std::int32_t point;
    MeshVertex* vertex;
  };

  static std::uint64_t Hash(std::int32_t point, const std::vector<std::int32_t>& sampleIndices) {
    std::uint64_t hash = HashCombine(0, static_cast<std::uint64_t>(point));
    for (std::int32_t sample : sampleIndices) hash = HashCombine(hash, static_cast<std::uint64_t>(sample));
    return hash;
  }

  std::vector<MeshPoint>& points_;
  std::vector<Entry> entries_;
  HashIndex index_;
};

// The vertices in order of first use: triangle by triangle, corners 0, 1, 2.
std::vector<MeshVertex*> NumberVertices(MeshObject& object) {
  std::vector<MeshVertex*> numbering;
  for (MeshPolygon& triangle : object.polygons) {
    for (MeshVertex* vertex : triangle.vertices) {
      if (vertex->outputIndex >= 0) continue;
      vertex->outputIndex = static_cast<std::int32_t>(numbering.size());
      numbering.push_back(vertex);
    }
  }
  return numbering;
}

// Positions as points and normals as directions, both through the frame's
// vertex matrix.  Normals are kept as the matrix leaves them, not made unit
// length again, so a scaling frame lengthens or shortens them, as in every
// file this exporter has written.
void MoveIntoFrameSpace(MeshObject& object) {
  if (object.frame == nullptr || object.frame->vertexMatrix == nullptr) return;
  const platform::Matrix4& matrix = *object.frame->vertexMatrix;
  for (platform::Vec3f& position : object.positions) position = platform::Vec3TransformCoord(position, matrix);
  for (platform::Vec3f& normal : object.normals) normal = platform::Vec3TransformNormal(normal, matrix);
}

}  // namespace

void MakeVertices(MeshObject& object) {
  VertexFinder finder(object.points);
  for (MeshPolygon& triangle : object.polygons) {
    for (std::size_t k = 0; k < 3; ++k) triangle.vertices[k] = finder.FindOrAdd(triangle.corners[k], triangle.cornerSamples[k]);
  }
}

void WriteVertexArrays(MeshObject& object) {
  const std::vector<MeshVertex*> numbering = NumberVertices(object);
  object.vertexCount = static_cast<std::int32_t>(numbering.size());
  const auto maps = static_cast<std::size_t>(object.uvSetCount);

  object.positions.reserve(numbering.size());
  object.normals.reserve(numbering.size());
  object.uvSets.assign(maps, std::vector<std::array<float, 2>>(numbering.size()));
  for (std::size_t j = 0; j < numbering.size(); ++j) {
    const MeshVertex& vertex = *numbering[j];
    object.positions.push_back(vertex.position);
    object.normals.push_back(vertex.normal);
    for (std::size_t map = 0; map < maps; ++map) object.uvSets[map][j] = vertex.uv[map];
  }

  object.cornerVertices.reserve(object.polygons.size() * 3);
  for (const MeshPolygon& triangle : object.polygons) {
    for (const MeshVertex* vertex : triangle.vertices) object.cornerVertices.push_back(vertex->outputIndex);
  }
  MoveIntoFrameSpace(object);
}

}  // namespace scene
