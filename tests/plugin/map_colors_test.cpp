// Day and night colours through the real map module: where each corner's
// colour comes from, how vertices split on colours, and what the file and
// the user are told.
#include <gtest/gtest.h>

#include <array>
#include <limits>
#include <map>

#include "tests/plugin/map_fixture.h"

namespace plugin::testing {
namespace {

using dffinfo::Rgba;
using host::MessageKind;
using host::UvMap;

constexpr Rgba kWhite{255, 255, 255, 255};

// Per triangle of the file (one per host triangle, in order), the colours
// of its corners keyed by the host point they stand for.
using CornerColors = std::vector<std::map<int, Rgba>>;

CornerColors ColorsByPoint(const dffinfo::GeometryRecord& g, const std::vector<Rgba>& colors,
                           const host::Mesh& mesh) {
  CornerColors result;
  for (const dffinfo::Triangle& t : g.triangles) {
    std::map<int, Rgba> corners;
    for (const std::uint16_t v : {t.a, t.b, t.c}) {
      const dffinfo::Vec3& p = g.morphTargets.at(0).positions.at(v);
      for (std::size_t i = 0; i < mesh.points.size(); ++i) {
        const auto& q = mesh.points[i];
        // The file's axes are the host's (-x, -z, y).
        if (p[0] == -q[0] && p[1] == -q[2] && p[2] == q[1]) corners[static_cast<int>(i)] = colors.at(v);
      }
    }
    result.push_back(corners);
  }
  return result;
}

// Two triangles over points 0..3 sharing the edge 0-2.
host::Mesh TwoTriangles() {
  host::Mesh mesh;
  mesh.points = {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}};
  mesh.polygons = {{LWPOLTYPE_FACE, {0, 1, 2}, "Plain"}, {LWPOLTYPE_FACE, {0, 2, 3}, "Plain"}};
  return mesh;
}

TEST_F(MapExportTest, CornersTakeThePolygonsValueThenThePointsThenWhite) {
  host::Mesh mesh = TwoTriangles();
  UvMap day{"paint", 3, {{0, {1, 0, 0}}, {1, {0, 1, 0}}, {2, {0, 0, 1}}}, {{{0, 1}, {1, 1, 0}}}, host::kVertexMapRgb};
  UvMap night{"Night Lights", 4,
              {{0, {0.5f, 0.5f, 0.5f, 0.25f}}, {1, {0.5f, 0.5f, 0.5f, 0.25f}}, {2, {0.5f, 0.5f, 0.5f, 0.25f}},
               {3, {0.5f, 0.5f, 0.5f, 0.25f}}},
              {{{2, 1}, {0, 0, 0, 1}}},
              host::kVertexMapRgba};
  mesh.colorMaps = {day, night};
  host::StandInHost host(SceneOf({{"house", mesh}}, {NamedSurface("Plain")}));
  Answer(dir_ / "house.dff");
  RunMap(host);

  const dffinfo::ClumpRecord clump = ReadSound(dir_ / "house.dff");
  ASSERT_EQ(clump.geometries.size(), 1u);
  const dffinfo::GeometryRecord& g = clump.geometries[0];
  EXPECT_TRUE(g.format & dffinfo::kPrelit);
  EXPECT_FALSE(g.format & dffinfo::kNormals);
  EXPECT_FALSE(g.morphTargets.at(0).hasNormals);
  // Point 0 splits on its day value in the second triangle, point 2 on its
  // night value there: a seam in one map alone is a seam.
  EXPECT_EQ(g.vertexCount, 6u);
  const CornerColors dayColors = ColorsByPoint(g, g.prelight, mesh);
  EXPECT_EQ(dayColors[0], (std::map<int, Rgba>{{0, {255, 0, 0, 255}}, {1, {0, 255, 0, 255}}, {2, {0, 0, 255, 255}}}));
  EXPECT_EQ(dayColors[1], (std::map<int, Rgba>{{0, {255, 255, 0, 255}}, {2, {0, 0, 255, 255}}, {3, kWhite}}));
  ASSERT_TRUE(g.nightColors);
  const CornerColors nightColors = ColorsByPoint(g, g.nightColors->colors, mesh);
  const Rgba dim{128, 128, 128, 64};
  EXPECT_EQ(nightColors[0], (std::map<int, Rgba>{{0, dim}, {1, dim}, {2, dim}}));
  EXPECT_EQ(nightColors[1], (std::map<int, Rgba>{{0, dim}, {2, {0, 0, 0, 255}}, {3, dim}}));

  ASSERT_EQ(host.messages().size(), 1u);
  EXPECT_EQ(host.messages()[0].kind, MessageKind::kInfo);
  EXPECT_EQ(host.messages()[0].line1,
            "Wrote house.dff (1 geometry, day and night colours), house.txd (0 textures) and house.col (2 faces, "
            "1 surface). The scene has no collision item, so the visible triangles are the collision, with "
            "DEFAULT on the 2 faces whose surface names no surface type.");
}

TEST_F(MapExportTest, TheSurfacesColourMapGivesTheDayColoursOfItsPolygons) {
  host::Mesh mesh = SeparateTriangles(3);
  mesh.polygons[0].surface = "Wall";    // names the RGBA map "wall paint"
  mesh.polygons[1].surface = "Roof";    // names none: the object's first day map
  mesh.polygons[2].surface = "Gutter";  // names a map the mesh lacks: white
  host::VertexValues<int> everywhere;
  for (int p = 0; p < 9; ++p) everywhere.Set(p, std::vector<float>{1, 0, 0}.data(), 3);
  UvMap first{"first", 3, everywhere, {}, host::kVertexMapRgb};
  host::VertexValues<int> blue;
  for (int p = 0; p < 9; ++p) blue.Set(p, std::vector<float>{0, 0, 1, 0.5f}.data(), 4);
  UvMap wall{"wall paint", 4, blue, {}, host::kVertexMapRgba};
  mesh.colorMaps = {first, wall};
  host::StandInHost host(SceneOf({{"house", mesh}},
                                 {NamedSurface("Wall", "wall paint"), NamedSurface("Roof"),
                                  NamedSurface("Gutter", "missing")}));
  Answer(dir_ / "house.dff");
  RunMap(host);

  const dffinfo::GeometryRecord g = ReadSound(dir_ / "house.dff").geometries.at(0);
  EXPECT_FALSE(g.nightColors) << "no map names the night";
  const CornerColors colors = ColorsByPoint(g, g.prelight, mesh);
  ASSERT_EQ(colors.size(), 3u);
  EXPECT_EQ(colors[0].at(0), (Rgba{0, 0, 255, 128}));
  EXPECT_EQ(colors[1].at(3), (Rgba{255, 0, 0, 255}));
  EXPECT_EQ(colors[2].at(6), kWhite);
  EXPECT_EQ(host.messages().back().line1,
            "Wrote house.dff (1 geometry, day colours), house.txd (0 textures) and house.col (3 faces, 1 surface). "
            "The scene has no collision item, so the visible triangles are the collision, with DEFAULT on the 3 "
            "faces whose surface names no surface type.");
}

TEST_F(MapExportTest, ANightMapAloneGivesWhiteDayColoursAndTheSummarySaysSo) {
  host::Mesh mesh = SeparateTriangles(1);
  mesh.colorMaps = {UvMap{"night", 3, {{0, {0.2f, 0.2f, 0.2f}}}, {}, host::kVertexMapRgb}};
  host::StandInHost host(SceneOf({{"lamp", mesh}}, {NamedSurface("Paint")}));
  Answer(dir_ / "lamp.dff");
  RunMap(host);

  const dffinfo::GeometryRecord g = ReadSound(dir_ / "lamp.dff").geometries.at(0);
  EXPECT_EQ(g.prelight, std::vector<Rgba>(3, kWhite));
  ASSERT_TRUE(g.nightColors);
  const CornerColors night = ColorsByPoint(g, g.nightColors->colors, mesh);
  EXPECT_EQ(night.at(0).at(0), (Rgba{51, 51, 51, 255}));
  EXPECT_EQ(night.at(0).at(1), kWhite) << "a corner the map does not cover is white";
  EXPECT_EQ(host.messages().back().line1,
            "Wrote lamp.dff (1 geometry, day and night colours), lamp.txd (0 textures) and lamp.col (1 face, "
            "1 surface). \"lamp\" has only a night colour map, so its day colours are white. The scene has no "
            "collision item, so the visible triangles are the collision, with DEFAULT on the 1 face whose "
            "surface names no surface type.");
}

TEST_F(MapExportTest, BadValuesAreClampedAndMapsOfTheWrongDimensionIgnoredWithWarnings) {
  host::Mesh mesh = SeparateTriangles(1);
  const float nan = std::numeric_limits<float>::quiet_NaN();
  // Corner 0 is out of range in both its colours: one corner, counted once.
  mesh.colorMaps = {UvMap{"flat", 2, {{0, {1, 1}}}, {}, host::kVertexMapRgb},
                    UvMap{"paint", 3, {{0, {2.0f, -1.0f, nan}}, {1, {0.5f, 0.5f, 0.5f}}}, {}, host::kVertexMapRgb},
                    UvMap{"night", 3, {{0, {-0.5f, 0.5f, 1.5f}}}, {}, host::kVertexMapRgb}};
  host::StandInHost host(SceneOf({{"sign", mesh}}, {NamedSurface("Paint")}));
  Answer(dir_ / "sign.dff");
  RunMap(host);

  const dffinfo::GeometryRecord g = ReadSound(dir_ / "sign.dff").geometries.at(0);
  const CornerColors day = ColorsByPoint(g, g.prelight, mesh);
  EXPECT_EQ(day.at(0).at(0), (Rgba{255, 0, 0, 255})) << "the 2-component map is passed over for the next";
  EXPECT_EQ(day.at(0).at(1), (Rgba{128, 128, 128, 255}));
  ASSERT_TRUE(g.nightColors);
  EXPECT_EQ(ColorsByPoint(g, g.nightColors->colors, mesh).at(0).at(0), (Rgba{0, 128, 255, 255}));
  const auto& messages = host.messages();
  ASSERT_EQ(messages.size(), 3u);
  EXPECT_EQ(messages[0].kind, MessageKind::kWarning);
  EXPECT_EQ(messages[0].line1,
            "1 corner of \"sign\" had a colour value outside 0 to 1 or not a number; it was clamped (a "
            "non-number to 0).");
  EXPECT_EQ(messages[1].kind, MessageKind::kWarning);
  EXPECT_NE(messages[1].line1.find("\"flat\""), std::string::npos) << messages[1].line1;
  EXPECT_EQ(messages[2].kind, MessageKind::kInfo);
}

TEST_F(MapExportTest, AnObjectWithoutColoursIsWrittenAsTheFirstCommandWritesItWithAWarning) {
  host::Scene scene = OneTriangleScene("plain.lws");
  host::StandInHost mapHost(scene);
  Answer(dir_ / "map.dff");
  RunMap(mapHost);
  host::StandInHost firstHost(scene);
  Answer(dir_ / "first.dff");
  Run(firstHost);

  // Only the request for a COL file to embed is left out, which changes
  // nothing in a file that embeds none.
  EXPECT_EQ(ReadFileBytes(dir_ / "map.dff"), ReadFileBytes(dir_ / "first.dff"));
  const auto& messages = mapHost.messages();
  ASSERT_EQ(messages.size(), 2u);
  EXPECT_EQ(messages[0].kind, MessageKind::kWarning);
  EXPECT_EQ(messages[0].line1,
            "The object \"box\" has no vertex colours: the game draws it evenly bright, the same by day and "
            "by night.");
  EXPECT_EQ(messages[1].line1.substr(0, 79),
            "Wrote map.dff (1 geometry, no vertex colours), map.txd (0 textures) and map.col");
  EXPECT_TRUE(mapHost.fileRequests().size() == 1u) << "the map command asks for no COL file";
}

}  // namespace
}  // namespace plugin::testing
