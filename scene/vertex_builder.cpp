#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
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

MeshVertex MakeVertex(const MeshPoint& point, const std::int32_t* samples, std::size_t maps) {
  MeshVertex vertex;
  vertex.position = point.position;
  vertex.normal = point.normal;
  vertex.uvCount = point.uvSetCount;
  vertex.uv.reserve(maps);
  for (std::size_t map = 0; map < maps; ++map) {
    vertex.uv.push_back(TexCoord(point.uvSamples[map][static_cast<std::size_t>(samples[map])]));
  }
  vertex.sampleIndices.assign(samples, samples + maps);
  return vertex;
}

// The vertices of every point, one per distinct combination of samples
// over all maps, found again by that combination.  As with samples, a
// point's short list is scanned and a long one indexed.
class VertexFinder {
 public:
  VertexFinder(std::vector<MeshPoint>& points, std::size_t maps) : points_(points), maps_(maps) {}

  std::int32_t FindOrAdd(std::int32_t point, const std::int32_t* samples) {
    std::vector<MeshVertex>& vertices = Vertices(point);
    if (vertices.size() < kScanLimit) {
      for (std::size_t i = 0; i < vertices.size(); ++i) {
        if (Matches(vertices[i], samples)) return static_cast<std::int32_t>(i);
      }
      return Append(point, samples);
    }
    const std::int32_t found = index_.Find(Hash(point, samples), [&](std::int32_t entry) {
      const Entry& e = entries_[static_cast<std::size_t>(entry)];
      return e.point == point && Matches(vertices[static_cast<std::size_t>(e.vertex)], samples);
    });
    if (found >= 0) return entries_[static_cast<std::size_t>(found)].vertex;
    return Append(point, samples);
  }

 private:
  static constexpr std::size_t kScanLimit = 8;

  struct Entry {
    std::int32_t point;
    std::int32_t vertex;
  };

  std::vector<MeshVertex>& Vertices(std::int32_t point) { return points_[static_cast<std::size_t>(point)].vertices; }

  bool Matches(const MeshVertex& vertex, const std::int32_t* samples) const {
    return std::equal(vertex.sampleIndices.begin(), vertex.sampleIndices.end(), samples);
  }

  std::uint64_t Hash(std::int32_t point, const std::int32_t* samples) const {
    std::uint64_t hash = HashCombine(0, static_cast<std::uint64_t>(point));
    for (std::size_t map = 0; map < maps_; ++map) hash = HashCombine(hash, static_cast<std::uint64_t>(samples[map]));
    return hash;
  }

  std::int32_t Append(std::int32_t point, const std::int32_t* samples) {
    MeshPoint& owner = points_[static_cast<std::size_t>(point)];
    owner.vertices.push_back(MakeVertex(owner, samples, maps_));
    const auto vertex = static_cast<std::int32_t>(owner.vertices.size() - 1);
    if (owner.vertices.size() > kScanLimit) {
      Index(point, vertex);
    } else if (owner.vertices.size() == kScanLimit) {
      // From now on this point's vertices are looked up in the index.
      for (std::int32_t i = 0; i <= vertex; ++i) Index(point, i);
    }
    return vertex;
  }

  void Index(std::int32_t point, std::int32_t vertex) {
    const MeshVertex& v = Vertices(point)[static_cast<std::size_t>(vertex)];
    index_.Insert(Hash(point, v.sampleIndices.data()), static_cast<std::int32_t>(entries_.size()));
    entries_.push_back({point, vertex});
  }

  std::vector<MeshPoint>& points_;
  std::size_t maps_;
  std::vector<Entry> entries_;
  HashIndex index_;
};

MeshVertex& VertexOf(MeshObject& object, const MeshPolygon& triangle, std::size_t corner) {
  MeshPoint& point = object.points[static_cast<std::size_t>(triangle.corners[corner])];
  return point.vertices[static_cast<std::size_t>(triangle.vertices[corner])];
}

// Numbers the vertices in order of first use, triangle by triangle and
// corners 0, 1, 2, and gives each corner its vertex's number.  Returns the
// vertices in that order.
std::vector<const MeshVertex*> NumberVertices(MeshObject& object) {
  std::vector<const MeshVertex*> numbering;
  object.cornerVertices.reserve(object.polygons.size() * 3);
  for (const MeshPolygon& triangle : object.polygons) {
    for (std::size_t corner = 0; corner < 3; ++corner) {
      MeshVertex& vertex = VertexOf(object, triangle, corner);
      if (vertex.outputIndex < 0) {
        vertex.outputIndex = static_cast<std::int32_t>(numbering.size());
        numbering.push_back(&vertex);
      }
      object.cornerVertices.push_back(vertex.outputIndex);
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
  const auto maps = static_cast<std::size_t>(object.uvSetCount);
  VertexFinder finder(object.points, maps);
  for (std::size_t corner = 0; corner < object.polygons.size() * 3; ++corner) {
    MeshPolygon& triangle = object.polygons[corner / 3];
    triangle.vertices[corner % 3] =
        finder.FindOrAdd(triangle.corners[corner % 3], object.cornerSamples.data() + corner * maps);
  }
}

void WriteVertexArrays(MeshObject& object) {
  const std::vector<const MeshVertex*> numbering = NumberVertices(object);
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
  MoveIntoFrameSpace(object);
}

}  // namespace scene
