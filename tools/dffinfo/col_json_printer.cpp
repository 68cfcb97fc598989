#include "tools/dffinfo/col_json_printer.h"

namespace dffinfo {
namespace {

using nlohmann::json;

json SurfaceJson(const ColSurface& s) {
  return {{"material", s.material}, {"piece", s.piece}, {"brightness", s.brightness}, {"light", s.light}};
}

json MeshJson(const ColMesh& mesh) {
  json vertices = json::array();
  for (const ColVertex& v : mesh.vertices) vertices.push_back({v[0], v[1], v[2]});
  json faces = json::array();
  for (const ColFace& f : mesh.faces) {
    faces.push_back({{"a", f.a}, {"b", f.b}, {"c", f.c}, {"material", f.material}, {"light", f.light}});
  }
  return {{"vertices", std::move(vertices)}, {"faces", std::move(faces)}};
}

json LegacyMeshJson(const ColLegacyMesh& mesh) {
  json faces = json::array();
  for (const ColLegacyFace& f : mesh.faces) {
    faces.push_back({{"corners", f.corners}, {"surface", SurfaceJson(f.surface)}});
  }
  return {{"vertices", mesh.vertices}, {"faces", std::move(faces)}};
}

json EntryJson(const ColEntryRecord& e) {
  json entry = {{"path", e.origin.path}, {"offset", e.origin.offset}, {"fourcc", e.fourcc},
                {"version", e.version},  {"size", e.size},            {"name", e.name},
                {"modelId", e.modelId},  {"decoded", e.decoded}};
  if (!e.decoded) return entry;
  json spheres = json::array();
  for (const ColSphere& s : e.spheres) {
    spheres.push_back({{"centre", s.centre}, {"radius", s.radius}, {"surface", SurfaceJson(s.surface)}});
  }
  json boxes = json::array();
  for (const ColBox& b : e.boxes) {
    boxes.push_back({{"min", b.min}, {"max", b.max}, {"surface", SurfaceJson(b.surface)}});
  }
  json groups = json::array();
  for (const ColFaceGroup& g : e.faceGroups) {
    groups.push_back({{"min", g.min}, {"max", g.max}, {"first", g.first}, {"last", g.last}});
  }
  entry["bounds"] = {{"min", e.boxMin}, {"max", e.boxMax}, {"centre", e.sphereCentre}, {"radius", e.sphereRadius}};
  entry["flags"] = e.flags;
  entry["counts"] = {{"spheres", e.sphereCount}, {"boxes", e.boxCount}, {"faces", e.faceCount},
                     {"lines", e.lineCount},     {"shadowFaces", e.shadowFaceCount}};
  entry["offsets"] = {{"spheres", e.sphereOffset},        {"boxes", e.boxOffset},
                      {"lines", e.lineOffset},            {"vertices", e.vertexOffset},
                      {"faces", e.faceOffset},            {"planes", e.planeOffset},
                      {"shadowVertices", e.shadowVertexOffset}, {"shadowFaces", e.shadowFaceOffset}};
  entry["spheres"] = std::move(spheres);
  entry["boxes"] = std::move(boxes);
  entry["faceGroups"] = std::move(groups);
  entry["mesh"] = MeshJson(e.mesh);
  entry["shadow"] = MeshJson(e.shadow);
  if (e.version == 1) entry["legacyMesh"] = LegacyMeshJson(e.legacyMesh);
  return entry;
}

}  // namespace

json ColEntriesJson(const std::vector<ColEntryRecord>& entries) {
  json result = json::array();
  for (const ColEntryRecord& entry : entries) result.push_back(EntryJson(entry));
  return result;
}

}  // namespace dffinfo
