#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>

#include "geometry_host.h"
#include "platform/matrix.h"
#include "scene/mesh_object.h"

namespace scene {
namespace {

using testing::Face;
using testing::GeometryHost;
using testing::ObjectSetup;
using testing::PlainSurface;
using testing::SceneOf;
using UV = std::array<float, 2>;

using V = std::array<float, 3>;
V A(const platform::Vec3f& v) { return {v.x, v.y, v.z}; }

host::UvMap Map(std::string name, int dimension = 2) {
  host::UvMap map;
  map.name = std::move(name);
  map.dimension = dimension;
  return map;
}

// Builds the first object of a one-object scene and checks that the host
// saw no call it would not have survived.
struct Built {
  explicit Built(const host::Mesh& mesh, std::vector<host::Surface> surfaces = {PlainSurface("Default")},
                 FrameNode* frame = nullptr)
      : host(SceneOf({ObjectSetup{mesh, std::move(surfaces)}})), object(host.Built(0, frame)) {
    EXPECT_TRUE(host.host().faults().empty()) << host.host().faults().front();
  }
  GeometryHost host;
  std::unique_ptr<MeshObject> object;
};

TEST(GeometryBuild, HostTrianglesAreReversedAndPointsMovedIntoOutputAxes) {
  host::Mesh mesh;
  mesh.points = {{1, 2, 3}, {4, 5, 6}, {7, 8, 10}, {9, 9, 9}, {5, 5, 5}};
  mesh.polygons = {Face({0, 1, 2}), Face({3, 2, 1})};
  const Built built(mesh);
  const MeshObject& o = *built.object;

  ASSERT_EQ(o.triangleCount, 2);
  EXPECT_EQ(o.polygons[0].corners, (std::array<std::int32_t, 3>{2, 1, 0}));
  // Numbered by first use: host vertex 2 of the first triangle comes first.
  EXPECT_EQ(o.cornerVertices, (std::vector<std::int32_t>{0, 1, 2, 1, 0, 3}));
  // Without UV maps, one vertex per point that a triangle uses; point 4 is
  // used by none.
  ASSERT_EQ(o.vertexCount, 4);
  EXPECT_EQ(A(o.positions[0]), (V{-7.0f, -10.0f, 8.0f}));
  EXPECT_EQ(A(o.positions[2]), (V{-1.0f, -3.0f, 2.0f}));
  EXPECT_EQ(A(o.positions[3]), (V{-9.0f, -9.0f, 9.0f}));
  EXPECT_EQ(o.uvSetCount, 0);
  EXPECT_TRUE(o.uvSets.empty());
  EXPECT_EQ(built.host.host().liveMeshSnapshots(), 0) << "the mesh snapshot was not destroyed";
}

// Two triangles sharing the edge between points 1 and 2.
host::Mesh TwoTriangles() {
  host::Mesh mesh;
  mesh.points = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {1, 1, 0}};
  mesh.polygons = {Face({0, 1, 2}), Face({1, 3, 2})};
  return mesh;
}

TEST(GeometryBuild, ASeamSplitsAPointIntoOneVertexPerDistinctValue) {
  host::Mesh mesh = TwoTriangles();
  host::UvMap map = Map("uv");
  map.pointValues = {{0, {0.0f, 0.0f}}, {1, {1.0f, 0.0f}}, {2, {0.0f, 1.0f}}};
  // Point 1 has its own value on the second triangle only; point 3 has none.
  map.polygonValues = {{{1, 1}, {0.5f, 0.5f}}};
  mesh.uvMaps = {map};
  const Built built(mesh);
  const MeshObject& o = *built.object;

  ASSERT_EQ(o.uvSetCount, 1);
  ASSERT_EQ(o.vertexCount, 5);
  // Corners: (2, 1, 0) then (2, 3, 1).
  EXPECT_EQ(o.cornerVertices, (std::vector<std::int32_t>{0, 1, 2, 0, 3, 4}));
  // Written the game's way up: LightWave's (u, v) is the file's (u, 1 - v).
  EXPECT_EQ(o.uvSets[0][1], (UV{1.0f, 1.0f}));
  EXPECT_EQ(o.uvSets[0][4], (UV{0.5f, 0.5f}));
  EXPECT_EQ(o.uvSets[0][3], (UV{0.0f, 1.0f}));
  EXPECT_EQ(A(o.positions[4]), A(o.positions[1]));
  EXPECT_EQ(A(o.normals[4]), A(o.normals[1]));
}

TEST(GeometryBuild, UvValuesCompareAsFloats) {
  host::Mesh mesh = TwoTriangles();
  const float nan = std::numeric_limits<float>::quiet_NaN();
  host::UvMap map = Map("uv");
  // Point 1: 0.0 on one triangle and -0.0 on the other is one value.
  // Point 2: NaN equals nothing, so each corner makes its own vertex.
  map.polygonValues = {{{1, 0}, {0.0f, 0.0f}}, {{1, 1}, {-0.0f, 0.0f}}, {{2, 0}, {nan, 0.0f}},
                       {{2, 1}, {nan, 0.0f}}};
  mesh.uvMaps = {map};
  const Built built(mesh);
  const MeshObject& o = *built.object;
  // Corners (2, 1, 0) then (2, 3, 1).
  EXPECT_EQ(o.cornerVertices[1], o.cornerVertices[5]);
  EXPECT_NE(o.cornerVertices[0], o.cornerVertices[3]);
  EXPECT_EQ(o.vertexCount, 5);
}

TEST(GeometryBuild, EveryVertexHasAValueInEveryMapTheSceneCounts) {
  // The scene counts "a" (two components), "b" (three) and "c" (one); the
  // first object has all three, the second only "b".
  host::Mesh first = TwoTriangles();
  host::UvMap a = Map("a"), b = Map("b", 3), c = Map("c", 1);
  for (int p = 0; p < 4; ++p) {
    const float f = static_cast<float>(p);
    a.pointValues[p] = {f, 1.0f};
    b.pointValues[p] = {f, 2.0f, 0.0f};
    c.pointValues[p] = {f};
  }
  // Point 1 differs between its triangles in the third component only.
  host::UvMap bSeam = b;
  bSeam.polygonValues = {{{1, 1}, {1.0f, 2.0f, 9.0f}}};
  first.uvMaps = {a, bSeam, c};
  host::Mesh second = TwoTriangles();
  second.uvMaps = {b};
  GeometryHost host(SceneOf({ObjectSetup{first, {PlainSurface("Default")}}, ObjectSetup{second, {PlainSurface("Default")}}}));

  const auto full = host.Built(0);
  ASSERT_EQ(full->uvSetCount, 3);
  ASSERT_EQ(full->vertexCount, 5);  // point 1 splits on the third component
  for (const auto& set : full->uvSets) EXPECT_EQ(set.size(), 5u);
  // Written the game's way up, (u, 1 - v).
  EXPECT_EQ(full->uvSets[1][0], (UV{2.0f, -1.0f}));  // first two of three
  EXPECT_EQ(full->uvSets[2][0], (UV{2.0f, 1.0f}));   // the missing second is 0

  const auto partial = host.Built(1);
  ASSERT_EQ(partial->uvSetCount, 3);
  ASSERT_EQ(partial->vertexCount, 4);
  for (int set : {0, 2}) {
    for (const UV& uv : partial->uvSets[static_cast<std::size_t>(set)]) EXPECT_EQ(uv, (UV{0.0f, 1.0f}));
  }
  EXPECT_EQ(partial->uvSets[1][0], (UV{2.0f, -1.0f}));
  EXPECT_TRUE(host.host().faults().empty());
}

// The unit normal of output triangle k, from its written corners; the
// object has no frame, so positions are in output axes untransformed.
platform::Vec3f FaceNormal(const MeshObject& o, std::size_t k) {
  const auto at = [&](std::size_t c) { return o.positions[static_cast<std::size_t>(o.cornerVertices[3 * k + c])]; };
  const platform::Vec3f a = at(0), b = at(1), c = at(2);
  const platform::Vec3f e1{b.x - a.x, b.y - a.y, b.z - a.z}, e2{c.x - a.x, c.y - a.y, c.z - a.z};
  return platform::Vec3Normalize(
      {e1.y * e2.z - e1.z * e2.y, e1.z * e2.x - e1.x * e2.z, e1.x * e2.y - e1.y * e2.x});
}

TEST(GeometryBuild, PolygonsOfMoreThanThreeVerticesAreTriangulated) {
  host::Mesh mesh;
  // A quad bent along its diagonal 0-2, and a concave L-shaped hexagon.
  mesh.points = {{0, 0, 0}, {1, 0, 0}, {1, 1, 1}, {0, 1, 0},
                 {3, 0, 0}, {5, 0, 0}, {5, 1, 0}, {4, 1, 0}, {4, 3, 0}, {3, 3, 0}};
  mesh.polygons = {Face({0, 1, 2, 3}, "Quad"), Face({4, 5, 6, 7, 8, 9}, "L")};
  host::UvMap map = Map("uv");
  map.polygonValues = {{{0, 0}, {0.25f, 0.75f}}};
  mesh.uvMaps = {map};
  const Built built(mesh, {PlainSurface("L"), PlainSurface("Quad")});
  const MeshObject& o = *built.object;

  ASSERT_EQ(o.triangleCount, 6);
  // The quad's fan (0, 1, 2), (0, 2, 3), each reversed.
  EXPECT_EQ(o.polygons[0].corners, (std::array<std::int32_t, 3>{2, 1, 0}));
  EXPECT_EQ(o.polygons[1].corners, (std::array<std::int32_t, 3>{3, 2, 0}));
  // Both keep the quad's own UV value at point 0 and its surface.
  EXPECT_EQ(o.uvSets[0][static_cast<std::size_t>(o.cornerVertices[2])], (UV{0.25f, 0.25f}));
  EXPECT_EQ(o.cornerVertices[2], o.cornerVertices[5]);
  EXPECT_EQ(o.cornerMaterials, (std::vector<std::int32_t>{1, 1, 1, 1, 1, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
  EXPECT_EQ(o.materials[0].triangleCount, 4);
  EXPECT_EQ(o.materials[1].triangleCount, 2);

  // Point 0 sums the normals of both quad triangles, point 1 only the first.
  const platform::Vec3f n1 = FaceNormal(o, 0), n2 = FaceNormal(o, 1);
  const platform::Vec3f both = platform::Vec3Normalize({n1.x + n2.x, n1.y + n2.y, n1.z + n2.z});
  EXPECT_EQ(A(o.normals[static_cast<std::size_t>(o.cornerVertices[2])]), A(both));
  EXPECT_EQ(A(o.normals[static_cast<std::size_t>(o.cornerVertices[1])]), A(platform::Vec3Normalize(n1)));

  // The L lies in the output plane y = 0; its triangles all face one way.
  for (std::size_t k = 2; k < 6; ++k) EXPECT_GT(FaceNormal(o, k).y * FaceNormal(o, 2).y, 0.0f);
}

TEST(GeometryBuild, OnlyFacesPatchesAndSubdivisionPolygonsOfThreeOrMoreVerticesAreExported) {
  host::Mesh mesh;
  mesh.points = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {1, 1, 0}};
  const std::uint32_t curve = 0x43555256u, bone = 0x424F4E45u, metaball = 0x4D42414Cu, patch = 0x50544348u,
                      subdivision = 0x53554244u;
  mesh.polygons = {Face({0, 1, 2}), Face({0, 1}), Face({3}), Face({1, 3, 2}), Face({0, 1, 2}), Face({0, 1, 2})};
  mesh.polygons[1].type = bone;
  mesh.polygons[2].type = metaball;
  mesh.polygons[3].type = patch;
  mesh.polygons[4].type = curve;
  mesh.polygons[5].type = subdivision;
  const Built built(mesh);
  EXPECT_EQ(built.object->triangleCount, 3);
  EXPECT_EQ(built.object->materials[0].triangleCount, 3);
}

TEST(GeometryBuild, APolygonNamingAnUnknownPointIsLeftOutAndTheNextKeepsItsOwnPoints) {
  host::Mesh mesh;
  mesh.points = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {1, 1, 0}, {2, 1, 0}};
  // The second polygon's third vertex names a point the mesh lacks, after
  // two it has.
  mesh.polygons = {Face({0, 1, 2}), Face({3, 1, 9, 2}), Face({4, 3, 1, 0})};
  GeometryHost host(SceneOf({ObjectSetup{mesh, {PlainSurface("Default")}}}));
  const auto built = host.Built(0);
  ASSERT_EQ(built->triangleCount, 3);
  EXPECT_EQ(built->polygons[0].corners, (std::array<std::int32_t, 3>{2, 1, 0}));
  // The quad's fan (4, 3, 1), (4, 1, 0), each reversed.
  EXPECT_EQ(built->polygons[1].corners, (std::array<std::int32_t, 3>{1, 3, 4}));
  EXPECT_EQ(built->polygons[2].corners, (std::array<std::int32_t, 3>{0, 1, 4}));
  EXPECT_NE(built->polygons[1].polygonId, built->polygons[0].polygonId);
  EXPECT_EQ(built->polygons[2].polygonId, built->polygons[1].polygonId);
  EXPECT_EQ(built->materials[0].triangleCount, 3);
}

host::Mesh OneTrianglePer(const std::vector<std::string>& surfaces) {
  host::Mesh mesh;
  for (std::size_t i = 0; i < surfaces.size(); ++i) {
    const int base = static_cast<int>(mesh.points.size());
    const float x = static_cast<float>(i);
    mesh.points.insert(mesh.points.end(), {{x, 0, 0}, {x + 1, 0, 0}, {x, 1, 0}});
    mesh.polygons.push_back(Face({base, base + 1, base + 2}, surfaces[i]));
  }
  return mesh;
}

TEST(GeometryBuild, MaterialsAreTheUsedSurfacesInTheObjectsOrder) {
  host::Surface firstX = PlainSurface("X"), secondX = PlainSurface("X");
  firstX.color = {1.0, 0.0, 0.0};
  secondX.color = {0.0, 0.0, 1.0};
  const Built built(OneTrianglePer({"C", "X", "Nowhere", "A", "C", "Nowhere"}),
                    {PlainSurface("A"), PlainSurface("B"), PlainSurface("C"), firstX, secondX});
  const MeshObject& o = *built.object;

  ASSERT_EQ(o.materials.size(), 4u);
  EXPECT_EQ(o.materials[0].surfaceName, "A");
  EXPECT_EQ(o.materials[1].surfaceName, "C");
  EXPECT_EQ(o.materials[2].surfaceName, "X");
  EXPECT_EQ(o.materials[2].color, (std::array<float, 3>{1.0f, 0.0f, 0.0f}));  // the first X
  EXPECT_EQ(o.materials[1].triangleCount, 2);
  // A tag that names no surface of the object: a white, opaque default,
  // after the object's own surfaces, shared by every polygon with the tag.
  EXPECT_EQ(o.materials[3].surfaceName, "Nowhere");
  EXPECT_EQ(o.materials[3].rgba, (std::array<std::uint8_t, 4>{255, 255, 255, 255}));
  EXPECT_EQ(o.materials[3].textured, 0);
  EXPECT_EQ(o.materials[3].triangleCount, 2);
  EXPECT_EQ(o.cornerMaterials,
            (std::vector<std::int32_t>{1, 1, 1, 2, 2, 2, 3, 3, 3, 0, 0, 0, 1, 1, 1, 3, 3, 3}));
  for (std::size_t i = 0; i < o.materials.size(); ++i) EXPECT_EQ(o.materials[i].materialIndex, static_cast<std::int32_t>(i));

  // Looking a name up counts one more triangle on its first surface.
  MaterialEntry* x = built.object->FindSurfaceByName("X");
  ASSERT_EQ(x, &built.object->surfaces[3]);
  EXPECT_EQ(x->triangleCount, 2);
  EXPECT_EQ(built.object->FindSurfaceByName("x"), nullptr);
}

TEST(GeometryBuild, ColourAndOpacityAreScaledTruncatedAndClamped) {
  host::Surface bright = PlainSurface("bright"), dark = PlainSurface("dark"), clear = PlainSurface("clear");
  bright.color = {1.0, 0.5, 1.2};
  bright.transparency = 0.25;
  dark.color = {-0.1, 0.0, 0.999};
  clear.transparency = 1.0;
  bright.reflectivity = 0.5;
  bright.glossiness = 0.75;
  const Built built(OneTrianglePer({"bright", "dark", "clear"}), {bright, dark, clear});
  const auto& m = built.object->materials;
  EXPECT_EQ(m[0].rgba, (std::array<std::uint8_t, 4>{255, 127, 255, 191}));
  EXPECT_EQ(m[1].rgba, (std::array<std::uint8_t, 4>{0, 0, 254, 255}));
  EXPECT_EQ(m[2].rgba[3], 0);
  EXPECT_EQ(m[0].color, (std::array<float, 3>{1.0f, 0.5f, 1.2f}));
  EXPECT_EQ(m[0].transparency, 0.25f);
  EXPECT_EQ(m[0].reflectivity, 0.5f);
  EXPECT_EQ(m[0].glossiness, 0.75f);
}

TEST(GeometryBuild, TheFirstImageLayerNamesTheTextureWithoutItsExtension) {
  host::Scene scene = SceneOf({ObjectSetup{OneTrianglePer({"plain", "procedural", "layered", "dotted", "folder"}), {}}});
  for (const char* name : {"wheel.tga", "rim.tga", "a.b.tga", "maps\\wheel.tga", "chrome"}) {
    host::Image image;
    image.name = name;
    scene.images.push_back(image);
  }
  using host::TextureLayerType;
  scene.textures = {
      {{{TextureLayerType::kProcedural, -1}, {TextureLayerType::kGradient, -1}}},
      {{{TextureLayerType::kProcedural, -1}, {TextureLayerType::kImage, 0}, {TextureLayerType::kImage, 1}}},
      {{{TextureLayerType::kImage, 2}}},
      {{{TextureLayerType::kImage, 3}}}};
  std::vector<host::Surface>& surfaces = scene.objectFiles[0].surfaces;
  surfaces = {PlainSurface("plain"), PlainSurface("procedural"), PlainSurface("layered"), PlainSurface("dotted"),
              PlainSurface("folder")};
  surfaces[1].colorTexture = 0;
  surfaces[2].colorTexture = 1;
  surfaces[3].colorTexture = 2;
  surfaces[4].colorTexture = 3;
  surfaces[0].reflectionImage = 4;
  GeometryHost host(std::move(scene));
  const auto object = host.Built(0);
  const auto& m = object->materials;

  EXPECT_EQ(m[0].textured, 0);
  EXPECT_EQ(m[0].reflectionImageName, std::optional<std::string>("chrome"));
  EXPECT_EQ(m[1].textured, 0);
  EXPECT_EQ(m[1].textureName, "");
  EXPECT_EQ(m[2].textured, 1);
  EXPECT_EQ(m[2].textureName, "wheel");
  EXPECT_EQ(m[3].textureName, "a.b");
  EXPECT_EQ(m[4].textureName, "maps\\wheel");
  EXPECT_FALSE(m[4].reflectionImageName.has_value());
  EXPECT_TRUE(host.host().faults().empty());
}

// The frame's vertex matrix puts the item's pivot at the frame's origin;
// the frame's own matrix carries every turn, so normals stay unit length.
TEST(GeometryBuild, VerticesMoveIntoTheFrameAndNormalsStayUnitLength) {
  FrameNode frame;
  frame.vertexMatrix = std::make_unique<platform::Matrix4>(platform::MatrixTranslation(10.0f, 0.0f, 0.0f));
  host::Mesh mesh;
  mesh.points = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}};
  mesh.polygons = {Face({0, 1, 2})};
  const Built built(mesh, {PlainSurface("Default")}, &frame);
  const MeshObject& o = *built.object;
  // Output corners: host points 2, 1, 0 at output (0, 0, 1), (-1, 0, 0), (0, 0, 0).
  EXPECT_EQ(A(o.positions[0]), (V{10.0f, 0.0f, 1.0f}));
  EXPECT_EQ(A(o.positions[1]), (V{9.0f, 0.0f, 0.0f}));
  EXPECT_EQ(A(o.positions[2]), (V{10.0f, 0.0f, 0.0f}));
  for (const platform::Vec3f& n : o.normals) EXPECT_FLOAT_EQ(std::sqrt(n.x * n.x + n.y * n.y + n.z * n.z), 1.0f);
}

TEST(GeometryBuild, ReleaseEmptiesTheRecordWhetherOrNotItWasBuilt) {
  GeometryHost host(SceneOf({ObjectSetup{TwoTriangles(), {PlainSurface("Default")}}}));
  const auto fresh = host.Object(0);
  fresh->ReleaseMeshObject();
  EXPECT_TRUE(fresh->points.empty());
  EXPECT_EQ(fresh->FindSurfaceByName("Default"), nullptr);

  const auto built = host.Built(0);
  ASSERT_EQ(built->vertexCount, 4);
  built->ReleaseMeshObject();
  EXPECT_TRUE(built->points.empty() && built->polygons.empty() && built->surfaces.empty() &&
              built->materials.empty() && built->positions.empty() && built->cornerVertices.empty());
  EXPECT_EQ(built->vertexCount, 0);
  EXPECT_EQ(built->FindSurfaceByName("Default"), nullptr);
  // A record can be built again after its release.
  built->BuildGeometry();
  EXPECT_EQ(built->vertexCount, 4);
  EXPECT_EQ(built->materials.size(), 1u);
}

}  // namespace
}  // namespace scene
