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
std::array<float, 2> TexCoord(const UvSampleList& list, std::int32_t sample) {
  std::array<float, 2> uv{0.0f, 0.0f};
  const float* values = list.Values(sample);
  for (std::size_t i = 0; i < 2 && i < static_cast<std::size_t>(list.dimension); ++i) uv[i] = values[i];
  return uv;
}

// The vertices of every point, one per distinct combination of samples
// over all maps, found again by that combination.  As with samples, a
// point's short chain is scanned and a long one indexed.
class VertexFinder {
 public:
  VertexFinder(MeshObject& object, std::size_t maps) : object_(object), maps_(maps) {}

  std::int32_t FindOrAdd(std::int32_t point, const std::int32_t* samples) {
    const MeshPoint& owner = Point(point);
    if (owner.vertexCount < kScanLimit) {
      for (std::int32_t v = owner.firstVertex; v >= 0; v = object_.vertices[static_cast<std::size_t>(v)].nextOfPoint) {
        if (Matches(v, samples)) return v;
      }
      return Append(point, samples);
    }
    const std::int32_t found = index_.Find(Hash(point, samples), [&](std::int32_t vertex) {
      return object_.vertices[static_cast<std::size_t>(vertex)].point == point && Matches(vertex, samples);
    });
    return found >= 0 ? found : Append(point, samples);
  }

 private:
  static constexpr std::int32_t kScanLimit = 8;

  MeshPoint& Point(std::int32_t point) { return object_.points[static_cast<std::size_t>(point)]; }

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

  std::int32_t Append(std::int32_t point, const std::int32_t* samples) {
    const auto vertex = static_cast<std::int32_t>(object_.vertices.size());
    MeshVertex made;
    made.point = point;
    object_.vertices.push_back(made);
    object_.vertexSamples.insert(object_.vertexSamples.end(), samples, samples + maps_);
    MeshPoint& owner = Point(point);
    if (owner.lastVertex >= 0) {
      object_.vertices[static_cast<std::size_t>(owner.lastVertex)].nextOfPoint = vertex;
    } else {
      owner.firstVertex = vertex;
    }
    owner.lastVertex = vertex;
    if (++owner.vertexCount > kScanLimit) {
      Index(vertex);
    } else if (owner.vertexCount == kScanLimit) {
      // From now on this point's vertices are looked up in the index.
      for (std::int32_t v = owner.firstVertex; v >= 0; v = object_.vertices[static_cast<std::size_t>(v)].nextOfPoint) Index(v);
    }
    return vertex;
  }

  void Index(std::int32_t vertex) {
    const std::int32_t point = object_.vertices[static_cast<std::size_t>(vertex)].point;
    index_.Insert(Hash(point, SamplesOf(vertex)), vertex);
  }

  MeshObject& object_;
  std::size_t maps_;
  HashIndex index_;
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
  VertexFinder finder(object, maps);
  // Every point that a triangle uses has at least one vertex.
  object.vertices.reserve(object.points.size());
  object.vertexSamples.reserve(object.points.size() * maps);
  object.cornerVertices.resize(object.polygons.size() * 3);
  for (std::size_t corner = 0; corner < object.cornerVertices.size(); ++corner) {
    const MeshPolygon& triangle = object.polygons[corner / 3];
    object.cornerVertices[corner] =
        finder.FindOrAdd(triangle.corners[corner % 3], object.cornerSamples.data() + corner * maps);
  }
}

void WriteVertexArrays(MeshObject& object) {
  const std::vector<std::int32_t> numbering = NumberVertices(object);
  object.vertexCount = static_cast<std::int32_t>(numbering.size());
  const auto maps = static_cast<std::size_t>(object.uvSetCount);

  object.positions.reserve(numbering.size());
  object.normals.reserve(numbering.size());
  object.uvSets.assign(maps, {});
  for (auto& set : object.uvSets) set.resize(numbering.size());
  for (std::size_t j = 0; j < numbering.size(); ++j) {
    const auto v = static_cast<std::size_t>(numbering[j]);
    const MeshPoint& point = object.points[static_cast<std::size_t>(object.vertices[v].point)];
    object.positions.push_back(point.position);
    object.normals.push_back(point.normal);
    for (std::size_t map = 0; map < maps; ++map) {
      object.uvSets[map][j] = TexCoord(object.uvSamples[map], object.vertexSamples[v * maps + map]);
    }
  }
  MoveIntoFrameSpace(object);
}

}  // namespace scene
