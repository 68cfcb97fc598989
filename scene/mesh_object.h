// The geometry of one exported object item: the host services that read its
// mesh and surfaces, the working lists filled while reading, and the output
// arrays and material list that become one Geometry and one Atomic.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "dff/effects_2d.h"
#include "lwsdk/images.h"
#include "lwsdk/object_info.h"
#include "lwsdk/surfaces.h"
#include "lwsdk/textures.h"
#include "platform/matrix.h"
#include "scene/frame_node.h"

namespace scene {

// One surface of the object file; the entries that triangles use are copied
// into the written material list.
struct MaterialEntry {
  // Position of the entry's copy in `materials`; set only for used entries.
  std::int32_t materialIndex = -1;
  // The key by which polygons find their surface (case-sensitive).
  std::string surfaceName;
  // From the first image layer of the "BaseColor" texture; empty unless
  // `textured` is 1.
  std::string textureName;
  std::optional<std::string> reflectionImageName;
  std::int32_t textured = 0;
  std::array<float, 3> color{};
  // Colour and opacity scaled to 0..255, truncated and clamped.
  std::array<std::uint8_t, 4> rgba{};
  float reflectivity = 0.0f;
  float transparency = 0.0f;
  float glossiness = 0.0f;
  // Triangles whose polygon's surface tag found this entry.
  std::int32_t triangleCount = 0;
};

// The distinct (u, v, ...) values that the points take in one UV map, all
// in one table: sample s has the components values[s * dimension ...].
// Samples are numbered in the order they are first seen; each belongs to
// one point, and two corners of a point share a sample when every
// component compares equal as a float (0.0 equals -0.0, a NaN equals
// nothing).  Every sample of a map has the map's dimension.
struct UvSampleList {
  std::int32_t dimension = 0;
  std::int32_t count = 0;  // kept apart: a map of dimension 0 has no values
  std::vector<float> values;

  const float* Values(std::int32_t sample) const {
    return values.data() + static_cast<std::size_t>(sample) * static_cast<std::size_t>(dimension);
  }
};

// One output vertex: a point together with one combination of UV samples,
// whose sample numbers (one per map) are the vertex's entries of
// MeshObject::vertexSamples.  Its position and normal are its point's.
// The vertices of one point are told apart only while they are made, by
// the step that makes them.
struct MeshVertex {
  std::int32_t point = 0;
  // Position in the output arrays; -1 until numbered.
  std::int32_t outputIndex = -1;
};

// One host point.  Its position in `points` and the object's map count are
// known wherever a point is read, so the point keeps neither.
struct MeshPoint {
  platform::Vec3f position;  // converted to output axes
  // The normalised sum of its triangles' face normals; left at zero in a
  // geometry with colours, which has no normals.
  platform::Vec3f normal;
  LWPntID pointId = nullptr;
};

// One output triangle.  A host polygon of n vertices gives n - 2 of them,
// consecutive and all carrying the polygon's identifier.
struct MeshPolygon {
  // Point indices in reverse of the host's vertex order, so that the
  // triangle faces the same way after the change of handedness.
  std::array<std::int32_t, 3> corners{};
  // The face normal is summed into the points' normals as it is found, and
  // each corner's vertex is kept in MeshObject::cornerVertices.
  LWPolID polygonId = nullptr;
};

// One colour map of a mesh as the colour steps read it.
struct ColorSource {
  void* handle = nullptr;  // the mesh's vertex map handle
  bool hasAlpha = false;   // RGBA; an RGB map gives alpha 255
};

// Where the corners' colours come from, settled before any is read.
struct ColorPlan {
  // The object's first colour map whose name does not contain "night".
  std::optional<ColorSource> defaultDay;
  // The object's first colour map whose name contains "night".
  std::optional<ColorSource> night;
  // The surfaces that name a colour map: the map, or nothing when this mesh
  // lacks it (its corners are then white).
  std::unordered_map<std::string, std::optional<ColorSource>> surfaceDay;
};

// What the colour steps found that the user should hear of.
struct ColorReport {
  // Night colours without a day map: the day colours are white.
  bool whiteDay = false;
  // Corners with a colour component outside 0..1 or not a number, clamped.
  std::int32_t clampedCorners = 0;
  // Colour maps ignored for a dimension their type does not have.
  std::vector<std::string> wrongDimensionMaps;
};

class MeshObject {
 public:
  MeshObject(LWItemID itemId, const LWObjectInfo* objectInfo, const LWObjectFuncs* sceneObjects,
             const LWSurfaceFuncs* surfaceFuncs, const LWImageList* imageList,
             const LWTextureFuncs* textureFuncs, std::int32_t meshIndex, FrameNode* frame,
             const char* objectFileName);
  MeshObject(const MeshObject&) = delete;
  MeshObject& operator=(const MeshObject&) = delete;

  // Reads the item's mesh and surfaces from the host and fills every list
  // and output array.  Run once, after the frame's vertex matrix is final.
  void BuildGeometry();
  // The first surface named `name` (byte for byte); counts one more
  // triangle on it.  Null when the object has no such surface.
  MaterialEntry* FindSurfaceByName(std::string_view name);
  // Frees everything the record holds; a record never built holds nothing.
  void ReleaseMeshObject();
  // Frees the lists that only the making of vertices reads: the points,
  // the sample tables and the vertices.
  void ReleaseVertexLists();
  // Frees the per-point and per-triangle working lists (points, polygons,
  // the sample, corner and vertex tables and the polygons' surfaces), which
  // only the build reads; what the writer reads stays.
  void ReleaseWorkingLists();
  // The position of the first surface named `name`, or -1.
  std::int32_t SurfacePosition(std::string_view name) const;
  // Appends an entry to `surfaces`; names already present keep their first
  // entry for FindSurfaceByName.  Returns the entry's position.
  std::int32_t AddSurface(MaterialEntry entry);

  // Identity, set at construction.
  std::int32_t meshIndex;  // geometry and atomic index
  FrameNode* frame;        // not owned
  const LWObjectInfo* objectInfo;
  const LWObjectFuncs* sceneObjects;
  LWItemID itemId;
  const LWSurfaceFuncs* surfaceFuncs;
  const LWImageList* imageList;
  const LWTextureFuncs* textureFuncs;
  const char* objectFileName;  // the host's text
  // Read day and night colours (the map command's choice).
  bool readColors = false;
  // See-through materials (opacity below 255) follow the opaque ones.
  bool seeThroughLast = false;

  // Working lists.
  std::vector<MeshPoint> points;      // host scan order
  std::vector<MeshPolygon> polygons;  // triangles, in host polygon order
  std::vector<MaterialEntry> surfaces;  // object surfaces, then defaults
  // Flat tables rather than records of their own per point and vertex, so
  // that a large mesh costs a few allocations instead of millions.
  std::vector<UvSampleList> uvSamples;  // one per UV map
  // Per triangle, corner and UV map, the corner's sample in that map's
  // list: entry (3 * triangle + corner) * uvSetCount + map.
  std::vector<std::int32_t> cornerSamples;
  std::vector<MeshVertex> vertices;  // every point's vertices, in creation order
  // Per vertex and UV map, the sample it stands for: entry vertex *
  // uvSetCount + map.  With colours, every stride of these tables and of
  // cornerSamples is SampleStride(), and the colour list follows the UV
  // maps' in uvSamples.
  std::vector<std::int32_t> vertexSamples;
  ColorPlan colorPlan;

  // Output, read by the clump writer.  Triangle k is polygons[k].
  std::vector<MaterialEntry> materials;  // used surfaces, in surface order
  std::vector<platform::Vec3f> positions;  // in the frame's space
  // Transformed, not renormalised; empty with colours, as a prelit
  // geometry is written without normals.
  std::vector<platform::Vec3f> normals;
  std::vector<std::vector<std::array<float, 2>>> uvSets;  // [map][vertex]
  // RGBA per vertex; empty without colours.  Night colours only come with
  // day colours.
  std::vector<std::array<std::uint8_t, 4>> dayColors;
  std::vector<std::array<std::uint8_t, 4>> nightColors;
  ColorReport colorReport;
  // 3 per triangle.  While the vertices are made it holds each corner's
  // position in `vertices`; numbering turns that into the output index.
  std::vector<std::int32_t> cornerVertices;
  std::vector<std::int32_t> cornerMaterials;  // 3 per triangle
  // Per triangle, into `surfaces`; read by the build only.
  std::vector<std::int32_t> polygonSurfaces;
  std::int32_t triangleCount = 0;
  std::int32_t vertexCount = 0;
  std::int32_t uvSetCount = 0;
  // Colour sets: 0, 1 (day) or 2 (day and night).  Both sets share one
  // sample list, after the UV maps' lists: a corner's colours are one
  // sample, so that a seam in either splits its vertex.
  std::int32_t colorSetCount = 0;

  // The 2d effects (lights, particles) of the object, in its geometry's
  // space; written last in the geometry's Extension when there are any.
  // Only the first part of a split object carries them.
  std::vector<dff::Effect2d> effects;

  // The entries per corner and per vertex in the sample tables.
  std::size_t SampleStride() const { return static_cast<std::size_t>(uvSetCount + (colorSetCount > 0 ? 1 : 0)); }

 private:
  // First entry of `surfaces` per name.
  std::unordered_map<std::string, std::int32_t> surfaceIndex_;
};

}  // namespace scene
