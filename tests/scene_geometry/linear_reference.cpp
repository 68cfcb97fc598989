#include "linear_reference.h"

#include <algorithm>
#include <string>

#include "lwsdk/mesh_info.h"
#include "scene/material_builder.h"
#include "scene/triangulate.h"

namespace scene::testing {
namespace {

constexpr LWID kTxuv = 0x54585556u, kSurf = 0x53555246u;
constexpr LWID kFace = 0x46414345u, kPatch = 0x50544348u, kSubd = 0x53554244u;

// One value of a point in one map, as a record of its own.
struct UvSample {
  std::int32_t dimension = 0;
  std::vector<float> values;
};

struct Vertex {
  std::vector<std::int32_t> samples;
  std::vector<std::array<float, 2>> uv;
  std::int32_t output = -1;
};

struct Point {
  LWPntID id = nullptr;
  platform::Vec3f position, normal;
  std::vector<std::vector<UvSample>> samples;
  std::vector<Vertex> vertices;
};

struct Triangle {
  std::array<std::int32_t, 3> corners{};
  LWPolID polygon = nullptr;
  platform::Vec3f faceNormal;
  std::array<std::vector<std::int32_t>, 3> samples;
  std::array<std::size_t, 3> vertex{};  // into the corner point's vertices
};

size_t LWCALL AddPoint(void* data, LWPntID id) {
  static_cast<std::vector<Point>*>(data)->push_back(Point{id, {}, {}, {}, {}});
  return 0;
}

size_t LWCALL AddPolygon(void* data, LWPolID id) {
  static_cast<std::vector<LWPolID>*>(data)->push_back(id);
  return 0;
}

std::int32_t FindPoint(const std::vector<Point>& points, LWPntID id) {
  for (std::size_t i = 0; i < points.size(); ++i) {
    if (points[i].id == id) return static_cast<std::int32_t>(i);
  }
  return -1;
}

std::vector<Triangle> ReadTriangles(LWMeshInfoID mesh, const std::vector<Point>& points,
                                    const std::vector<LWPolID>& polygons) {
  std::vector<Triangle> triangles;
  for (LWPolID polygon : polygons) {
    const LWID type = mesh->polType(mesh, polygon);
    const int size = mesh->polSize(mesh, polygon);
    if ((type != kFace && type != kPatch && type != kSubd) || size < 3 || size > 1023) continue;
    std::vector<std::int32_t> indices;
    std::vector<platform::Vec3f> outline;
    for (int v = 0; v < size; ++v) {
      indices.push_back(FindPoint(points, mesh->polVertex(mesh, polygon, v)));
      if (indices.back() < 0) break;
      outline.push_back(points[static_cast<std::size_t>(indices.back())].position);
    }
    if (indices.back() < 0) continue;
    std::vector<std::array<std::int32_t, 3>> split;
    PolygonTriangulator().Triangulate(outline, split);
    for (const auto& t : split) {
      Triangle triangle;
      triangle.corners = {indices[static_cast<std::size_t>(t[2])], indices[static_cast<std::size_t>(t[1])],
                          indices[static_cast<std::size_t>(t[0])]};
      triangle.polygon = polygon;
      triangles.push_back(triangle);
    }
  }
  return triangles;
}

void ComputeNormals(std::vector<Point>& points, std::vector<Triangle>& triangles) {
  for (Triangle& t : triangles) {
    const platform::Vec3f& a = points[static_cast<std::size_t>(t.corners[0])].position;
    const platform::Vec3f& b = points[static_cast<std::size_t>(t.corners[1])].position;
    const platform::Vec3f& c = points[static_cast<std::size_t>(t.corners[2])].position;
    const platform::Vec3f e1{b.x - a.x, b.y - a.y, b.z - a.z}, e2{c.x - a.x, c.y - a.y, c.z - a.z};
    t.faceNormal = platform::Vec3Normalize(
        {e1.y * e2.z - e1.z * e2.y, e1.z * e2.x - e1.x * e2.z, e1.x * e2.y - e1.y * e2.x});
  }
  for (std::size_t p = 0; p < points.size(); ++p) {
    platform::Vec3f sum;
    for (const Triangle& t : triangles) {
      if (std::find(t.corners.begin(), t.corners.end(), static_cast<std::int32_t>(p)) == t.corners.end()) continue;
      sum = {sum.x + t.faceNormal.x, sum.y + t.faceNormal.y, sum.z + t.faceNormal.z};
    }
    points[p].normal = platform::Vec3Normalize(sum);
  }
}

bool Equal(const UvSample& a, const UvSample& b) {
  if (a.dimension != b.dimension) return false;
  for (std::size_t i = 0; i < a.values.size(); ++i) {
    if (!(a.values[i] == b.values[i])) return false;
  }
  return true;
}

std::int32_t FindOrAddSample(std::vector<UvSample>& samples, const UvSample& sample) {
  for (std::size_t i = 0; i < samples.size(); ++i) {
    if (Equal(samples[i], sample)) return static_cast<std::int32_t>(i);
  }
  samples.push_back(sample);
  return static_cast<std::int32_t>(samples.size() - 1);
}

void ReadSamples(const MeshObject& object, LWMeshInfoID mesh, std::int32_t maps, std::vector<Point>& points,
                 std::vector<Triangle>& triangles) {
  for (Point& p : points) p.samples.resize(static_cast<std::size_t>(maps));
  for (std::int32_t m = 0; m < maps; ++m) {
    const char* name = object.sceneObjects->vmapName(kTxuv, m);
    void* handle = name != nullptr ? mesh->pntVLookup(mesh, kTxuv, name) : nullptr;
    const int dimension = handle != nullptr ? std::max(mesh->pntVSelect(mesh, handle), 0) : 2;
    for (Triangle& t : triangles) {
      for (std::size_t k = 0; k < 3; ++k) {
        Point& point = points[static_cast<std::size_t>(t.corners[k])];
        UvSample sample{dimension, std::vector<float>(static_cast<std::size_t>(dimension) + 1, 0.0f)};
        if (handle != nullptr && !mesh->pntVPGet(mesh, point.id, t.polygon, sample.values.data())) {
          std::fill(sample.values.begin(), sample.values.end(), 0.0f);
          if (!mesh->pntVGet(mesh, point.id, sample.values.data())) {
            std::fill(sample.values.begin(), sample.values.end(), 0.0f);
          }
        }
        sample.values.pop_back();
        t.samples[k].push_back(FindOrAddSample(point.samples[static_cast<std::size_t>(m)], sample));
      }
    }
  }
}

void MakeVertices(std::vector<Point>& points, std::vector<Triangle>& triangles) {
  for (Triangle& t : triangles) {
    for (std::size_t k = 0; k < 3; ++k) {
      Point& point = points[static_cast<std::size_t>(t.corners[k])];
      std::size_t v = 0;
      while (v < point.vertices.size() && point.vertices[v].samples != t.samples[k]) ++v;
      if (v == point.vertices.size()) {
        Vertex vertex;
        vertex.samples = t.samples[k];
        for (std::size_t m = 0; m < vertex.samples.size(); ++m) {
          const UvSample& s = point.samples[m][static_cast<std::size_t>(vertex.samples[m])];
          // The game's way up: LightWave's (u, v) is written (u, 1 - v).
          vertex.uv.push_back({s.values.size() > 0 ? s.values[0] : 0.0f, 1.0f - (s.values.size() > 1 ? s.values[1] : 0.0f)});
        }
        point.vertices.push_back(vertex);
      }
      t.vertex[k] = v;
    }
  }
}

void WriteVertices(const MeshObject& object, std::vector<Point>& points, const std::vector<Triangle>& triangles,
                   ReferenceGeometry& out) {
  out.uvSets.resize(static_cast<std::size_t>(out.uvSetCount));
  std::int32_t count = 0;
  for (const Triangle& t : triangles) {
    for (std::size_t k = 0; k < 3; ++k) {
      Point& point = points[static_cast<std::size_t>(t.corners[k])];
      Vertex& vertex = point.vertices[t.vertex[k]];
      if (vertex.output < 0) {
        vertex.output = count++;
        platform::Vec3f position = point.position;
        if (object.frame != nullptr && object.frame->vertexMatrix != nullptr) {
          position = platform::Vec3TransformCoord(position, *object.frame->vertexMatrix);
        }
        out.positions.push_back(position);
        out.normals.push_back(point.normal);
        for (std::size_t m = 0; m < out.uvSets.size(); ++m) out.uvSets[m].push_back(vertex.uv[m]);
      }
      out.cornerVertices.push_back(vertex.output);
    }
  }
}

void ReadMaterials(const MeshObject& object, LWMeshInfoID mesh, const std::vector<Triangle>& triangles,
                   ReferenceGeometry& out) {
  std::vector<MaterialEntry> surfaces;
  const LWSurfaceID* ids = object.surfaceFuncs->byObject(object.objectFileName);
  for (; ids != nullptr && *ids != nullptr; ++ids) {
    surfaces.push_back(MakeMaterialEntry(*ids, *object.surfaceFuncs, *object.textureFuncs, *object.imageList));
  }
  std::vector<std::size_t> triangleSurface;
  for (const Triangle& t : triangles) {
    const char* tag = mesh->polTag(mesh, t.polygon, kSurf);
    const std::string name = tag != nullptr ? tag : "";
    std::size_t s = 0;
    while (s < surfaces.size() && surfaces[s].surfaceName != name) ++s;
    if (s == surfaces.size()) surfaces.push_back(MakeDefaultMaterial(name));
    ++surfaces[s].triangleCount;
    triangleSurface.push_back(s);
  }
  for (MaterialEntry& entry : surfaces) {
    if (entry.triangleCount == 0) continue;
    entry.materialIndex = static_cast<std::int32_t>(out.materials.size());
    out.materials.push_back(entry);
  }
  for (std::size_t s : triangleSurface) out.cornerMaterials.insert(out.cornerMaterials.end(), 3, surfaces[s].materialIndex);
}

}  // namespace

ReferenceGeometry BuildWithLinearScans(const MeshObject& object) {
  ReferenceGeometry out;
  LWMeshInfoID mesh = object.objectInfo->meshInfo(object.itemId, 1);
  std::vector<Point> points;
  std::vector<LWPolID> polygons;
  mesh->scanPoints(mesh, AddPoint, &points);
  mesh->scanPolys(mesh, AddPolygon, &polygons);
  for (Point& p : points) {
    LWFVector host{};
    mesh->pntBasePos(mesh, p.id, host);
    p.position = {-host[0], -host[2], host[1]};
  }
  std::vector<Triangle> triangles = ReadTriangles(mesh, points, polygons);
  ComputeNormals(points, triangles);
  out.uvSetCount = std::max(object.sceneObjects->numVMaps(kTxuv), 0);
  ReadSamples(object, mesh, out.uvSetCount, points, triangles);
  MakeVertices(points, triangles);
  WriteVertices(object, points, triangles, out);
  ReadMaterials(object, mesh, triangles, out);
  if (mesh->destroy != nullptr) mesh->destroy(mesh);
  return out;
}

}  // namespace scene::testing
