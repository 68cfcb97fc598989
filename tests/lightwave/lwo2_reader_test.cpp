#include "lightwave/lwo_reader.h"

#include <gtest/gtest.h>

#include "host/lightwave_files.h"
#include "lightwave/iff_writer.h"
#include "lightwave/lwo2_writer.h"
#include "lightwave/lwo3_writer.h"
#include "sample_files.h"

namespace host {
namespace {

using lwfiles_test::LayeredObject;

// Every object these tests write is read back from an LWO2 file and from
// an LWO3 file of each material kind.
struct Format {
  const char* name;
  std::vector<std::uint8_t> (*write)(const Lwo2Object&);
};

const Format kFormats[] = {
    {"LWO2", [](const Lwo2Object& object) { return WriteLwo2(object); }},
    {"LWO3Standard", [](const Lwo2Object& object) { return WriteLwo3(object, Lwo3Material::kStandard); }},
    {"LWO3Principled", [](const Lwo2Object& object) { return WriteLwo3(object, Lwo3Material::kPrincipled); }},
};

class ObjectFormats : public ::testing::TestWithParam<Format> {
 protected:
  Lwo2Object RoundTrip(const Lwo2Object& object, const std::string& name) const {
    return ReadLwo(GetParam().write(object), name);
  }
  bool Principled() const { return std::string(GetParam().name) == "LWO3Principled"; }
};

void ExpectSameMesh(const Mesh& read, const Mesh& written) {
  EXPECT_EQ(read.points, written.points);
  ASSERT_EQ(read.polygons.size(), written.polygons.size());
  for (std::size_t p = 0; p < read.polygons.size(); ++p) {
    EXPECT_EQ(read.polygons[p].type, written.polygons[p].type) << "polygon " << p;
    EXPECT_EQ(read.polygons[p].points, written.polygons[p].points) << "polygon " << p;
    EXPECT_EQ(read.polygons[p].surface, written.polygons[p].surface) << "polygon " << p;
  }
  ASSERT_EQ(read.uvMaps.size(), written.uvMaps.size());
  for (std::size_t m = 0; m < read.uvMaps.size(); ++m) {
    EXPECT_EQ(read.uvMaps[m].name, written.uvMaps[m].name);
    EXPECT_EQ(read.uvMaps[m].dimension, written.uvMaps[m].dimension);
    EXPECT_EQ(read.uvMaps[m].pointValues, written.uvMaps[m].pointValues);
    EXPECT_EQ(read.uvMaps[m].polygonValues, written.uvMaps[m].polygonValues);
  }
}

TEST_P(ObjectFormats, ReadsBackLayersGeometryUvMapsSurfacesAndClips) {
  Lwo2Object written = LayeredObject();
  // A Principled material holds one image colour layer, as an image node
  // that names its image by path.
  if (Principled()) written.surfaces[0].colorLayers = {written.surfaces[0].colorLayers[1]};
  const Lwo2Object read = RoundTrip(written, "layered.lwo");

  ASSERT_EQ(read.layers.size(), 3u);
  for (std::size_t l = 0; l < 3; ++l) {
    SCOPED_TRACE("layer " + std::to_string(l));
    EXPECT_EQ(read.layers[l].number, written.layers[l].number);
    EXPECT_EQ(read.layers[l].flags, written.layers[l].flags);
    EXPECT_EQ(read.layers[l].pivot, written.layers[l].pivot);
    EXPECT_EQ(read.layers[l].name, written.layers[l].name);
    EXPECT_EQ(read.layers[l].parent, written.layers[l].parent);
    ExpectSameMesh(read.layers[l].mesh, written.layers[l].mesh);
  }

  ASSERT_EQ(read.surfaces.size(), 3u);
  const Lwo2Surface& paint = read.surfaces[0];
  EXPECT_EQ(paint.color, (Vec3{0.25, 0.5, 0.75}));
  if (Principled()) {
    ASSERT_EQ(paint.colorLayers.size(), 1u);
    EXPECT_EQ(paint.colorLayers[0].type, TextureLayerType::kImage);
    EXPECT_EQ(paint.colorLayers[0].clip, 7u) << "found by its path";
  } else {
    ASSERT_EQ(paint.colorLayers.size(), 3u);
    EXPECT_EQ(paint.colorLayers[0].type, TextureLayerType::kImage);  // ordinal \x80 first
    EXPECT_EQ(paint.colorLayers[0].clip, 7u);
    EXPECT_EQ(paint.colorLayers[1].type, TextureLayerType::kGradient);
    EXPECT_EQ(paint.colorLayers[2].type, TextureLayerType::kProcedural);
  }
  EXPECT_DOUBLE_EQ(read.surfaces[1].transparency, 0.75);
  EXPECT_NEAR(read.surfaces[1].glossiness, 0.9, 1e-6);
  EXPECT_DOUBLE_EQ(read.surfaces[2].reflectivity, 0.5);
  ASSERT_TRUE(read.surfaces[2].reflectionClip);
  const Lwo2Clip* sky = read.FindClip(*read.surfaces[2].reflectionClip);
  ASSERT_NE(sky, nullptr);
  EXPECT_EQ(sky->stillPath, "C:\\maps\\sky.png");
  EXPECT_TRUE(read.warnings.empty());
}

TEST_P(ObjectFormats, LongIndicesAndLongCurvesSurviveTheRoundTrip) {
  // Point indices from 0xFF00 on take four bytes; curves keep vertex counts
  // above 1023 in their flag bits.
  Lwo2Object object;
  Lwo2Layer layer;
  for (int i = 0; i < 0xFF02; ++i) layer.mesh.points.push_back({static_cast<float>(i), 0.0f, 0.0f});
  Polygon triangle;
  triangle.points = {0, 0xFF00, 0xFF01};
  Polygon curve;
  curve.type = MakeId("CURV");
  for (int i = 0; i < 1100; ++i) curve.points.push_back(0xFF01 - i);
  layer.mesh.polygons = {triangle, curve};
  object.layers.push_back(layer);

  const Lwo2Object read = RoundTrip(object, "long.lwo");
  ExpectSameMesh(read.layers.at(0).mesh, layer.mesh);
}

TEST_P(ObjectFormats, PerPolygonUvsOfAlternatingPolygonTypesStayWithTheirPolygons) {
  // Every change of type starts a POLS chunk of its own, whose VMAD counts
  // polygons from the chunk's first: each value must land in its own run.
  Lwo2Object object;
  Lwo2Layer layer;
  for (int i = 0; i < 4; ++i) layer.mesh.points.push_back({static_cast<float>(i), 1.0f, 0.0f});
  UvMap map;
  map.name = "seams";
  for (int p = 0; p < 7; ++p) {
    Polygon polygon;
    polygon.type = p % 3 == 2 ? MakeId("PTCH") : MakeId("FACE");
    polygon.points = {0, 1 + p % 3, 3};
    polygon.surface = "Body";
    layer.mesh.polygons.push_back(polygon);
    if (p != 4) map.polygonValues[{p % 4, p}] = {0.1f * static_cast<float>(p), 1.0f};
  }
  map.polygonValues[{3, 99}] = {5.0f, 5.0f};  // names no polygon of the layer
  layer.mesh.uvMaps.push_back(map);
  object.layers.push_back(layer);

  const Lwo2Object read = RoundTrip(object, "alternating.lwo");
  map.polygonValues = {};
  for (int p = 0; p < 7; ++p) {
    if (p != 4) map.polygonValues[{p % 4, p}] = {0.1f * static_cast<float>(p), 1.0f};
  }
  layer.mesh.uvMaps = {map};
  ExpectSameMesh(read.layers.at(0).mesh, layer.mesh);
}

INSTANTIATE_TEST_SUITE_P(Written, ObjectFormats, ::testing::ValuesIn(kFormats),
                         [](const ::testing::TestParamInfo<Format>& written) { return std::string(written.param.name); });

// A file as other writers lay it out: unknown chunks and sub-chunks of odd
// length, geometry before any LAYR, PTAG before TAGS, blocks that are not
// colour layers, a derived surface and a surface with no values at all.
std::vector<std::uint8_t> UnusualFile() {
  IffWriter out;
  out.Begin(MakeId("FORM"), IffLength::kU4);
  out.Id4(MakeId("LWO2"));
  out.Begin(MakeId("ZZZZ"), IffLength::kU4);
  out.U1(7);
  out.End();
  out.Begin(MakeId("PNTS"), IffLength::kU4);
  for (int i = 0; i < 3; ++i) out.Vec12({static_cast<float>(i), 1.0f, 2.0f});
  out.End();
  out.Begin(MakeId("POLS"), IffLength::kU4);
  out.Id4(MakeId("FACE"));
  out.U2(3);
  for (std::uint32_t i = 0; i < 3; ++i) out.Vx(i);
  out.End();
  out.Begin(MakeId("PTAG"), IffLength::kU4);
  out.Id4(MakeId("SURF"));
  out.Vx(0);
  out.U2(1);
  out.End();
  out.Begin(MakeId("TAGS"), IffLength::kU4);
  out.S0("Base");
  out.S0("Derived");
  out.End();

  out.Begin(MakeId("SURF"), IffLength::kU4);
  out.S0("Base");
  out.S0("");
  out.Begin(MakeId("XYZW"), IffLength::kU2);
  out.U1(1);
  out.End();
  out.Begin(MakeId("GLOS"), IffLength::kU2);
  out.F4(0.25f);
  out.Vx(0);
  out.End();
  auto block = [&](const char(&header)[5], const char(&channel)[5]) {
    out.Begin(MakeId("BLOK"), IffLength::kU2);
    out.Begin(MakeId(header), IffLength::kU2);
    out.S0("\x80");
    out.Begin(MakeId("CHAN"), IffLength::kU2);
    out.Id4(MakeId(channel));
    out.End();
    out.End();
    out.End();
  };
  block("SHDR", "COLR");
  block("IMAP", "DIFF");
  block("PROC", "COLR");
  out.End();

  out.Begin(MakeId("SURF"), IffLength::kU4);
  out.S0("Derived");
  out.S0("Base");
  out.Begin(MakeId("TRAN"), IffLength::kU2);
  out.F4(0.5f);
  out.Vx(0);
  out.End();
  out.End();

  out.Begin(MakeId("SURF"), IffLength::kU4);
  out.S0("Plain");
  out.S0("");
  out.End();
  out.End();
  return out.Release();
}

TEST(Lwo2Reader, SkipsWhatItDoesNotServeAndFillsWhatIsAbsent) {
  const Lwo2Object read = ReadLwo(UnusualFile(), "unusual.lwo");
  ASSERT_EQ(read.layers.size(), 1u);
  EXPECT_EQ(read.layers[0].number, 0);
  EXPECT_EQ(read.layers[0].mesh.points.size(), 3u);
  ASSERT_EQ(read.layers[0].mesh.polygons.size(), 1u);
  EXPECT_EQ(read.layers[0].mesh.polygons[0].surface, "Derived");

  ASSERT_EQ(read.surfaces.size(), 3u);
  const Lwo2Surface& base = read.surfaces[0];
  EXPECT_DOUBLE_EQ(base.glossiness, 0.25);
  ASSERT_EQ(base.colorLayers.size(), 1u) << "shaders and other channels are not colour layers";
  EXPECT_EQ(base.colorLayers[0].type, TextureLayerType::kProcedural);

  const Lwo2Surface& derived = read.surfaces[1];
  EXPECT_DOUBLE_EQ(derived.glossiness, 0.25) << "taken from its source";
  EXPECT_DOUBLE_EQ(derived.transparency, 0.5);
  EXPECT_EQ(derived.colorLayers.size(), 1u);

  const Lwo2Surface& plain = read.surfaces[2];
  EXPECT_NEAR(plain.color[0], 200.0 / 255.0, 1e-5);
  EXPECT_DOUBLE_EQ(plain.transparency, 0.0);
  EXPECT_DOUBLE_EQ(plain.reflectivity, 0.0);
  EXPECT_DOUBLE_EQ(plain.glossiness, 0.4);
  EXPECT_TRUE(plain.colorLayers.empty());
  EXPECT_FALSE(plain.reflectionClip);
}

std::string ErrorOf(const std::vector<std::uint8_t>& bytes) {
  try {
    ReadLwo(bytes, "bad.lwo");
  } catch (const LoadError& error) {
    return error.what();
  }
  return "(loaded)";
}

std::vector<std::uint8_t> Form(const char (&type)[5]) {
  IffWriter out;
  out.Begin(MakeId("FORM"), IffLength::kU4);
  out.Id4(MakeId(type));
  out.End();
  return out.Release();
}

TEST(Lwo2Reader, RefusesOtherFormsByName) {
  EXPECT_NE(ErrorOf(Form("LWOB")).find("LWOB object from LightWave 5"), std::string::npos);
  EXPECT_NE(ErrorOf(Form("LXOB")).find("modo"), std::string::npos);
  EXPECT_NE(ErrorOf({'L', 'W', 'S', 'C', '\n', '3', '\n', '\n', '\n', '\n', '\n', '\n'}).find("FORM"),
            std::string::npos);
}

TEST(Lwo2Reader, ErrorsNameTheFileTheChunkAndTheByte) {
  // A triangle that names point 5 of a 3-point layer.  POLS starts after
  // the form header (12), an empty TAGS (8), LAYR (8 + 20) and PNTS
  // (8 + 36): byte 92; the bad index follows its header (8), type (4),
  // vertex count (2) and two good indices (2 + 2): byte 110.
  Lwo2Object object;
  Lwo2Layer layer;
  layer.mesh.points = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}};
  Polygon triangle;
  triangle.points = {0, 1, 5};
  layer.mesh.polygons = {triangle};
  object.layers = {layer};
  std::vector<std::uint8_t> bytes = WriteLwo2(object);
  EXPECT_EQ(ErrorOf(bytes),
            "bad.lwo: POLS chunk at byte 92: point index 5 is past the 3 points of the latest PNTS chunk (byte 110)");

  bytes.resize(bytes.size() - 1);
  EXPECT_NE(ErrorOf(bytes).find("truncated"), std::string::npos);
}

}  // namespace
}  // namespace host

namespace host {
namespace {

TEST(Lwo2Reader, ColourMapsAndTheSurfaceColourMapSurviveTheRoundTrip) {
  Lwo2Object object;
  Lwo2Layer layer;
  layer.mesh.points = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}};
  Polygon triangle;
  triangle.points = {0, 1, 2};
  triangle.surface = "Wall";
  layer.mesh.polygons = {triangle};
  layer.mesh.uvMaps = {UvMap{"uv", 2, {{0, {0.5f, 0.5f}}}, {}}};
  layer.mesh.colorMaps = {UvMap{"day", 3, {{0, {1, 0, 0}}, {2, {0, 0, 1}}}, {{{1, 0}, {0, 1, 0}}}, kVertexMapRgb},
                          UvMap{"night", 4, {{1, {0.1f, 0.2f, 0.3f, 0.4f}}}, {}, kVertexMapRgba}};
  object.layers.push_back(layer);
  Lwo2Surface wall;
  wall.name = "Wall";
  wall.vertexColorMap = "day";
  object.surfaces.push_back(wall);

  const Lwo2Object read = ReadLwo(WriteLwo2(object), "coloured.lwo");
  const Mesh& mesh = read.layers.at(0).mesh;
  ASSERT_EQ(mesh.uvMaps.size(), 1u) << "colour maps are not UV maps";
  ASSERT_EQ(mesh.colorMaps.size(), 2u);
  for (std::size_t m = 0; m < 2; ++m) {
    const UvMap& expected = layer.mesh.colorMaps[m];
    EXPECT_EQ(mesh.colorMaps[m].name, expected.name);
    EXPECT_EQ(mesh.colorMaps[m].type, expected.type);
    EXPECT_EQ(mesh.colorMaps[m].dimension, expected.dimension);
    EXPECT_EQ(mesh.colorMaps[m].pointValues, expected.pointValues);
    EXPECT_EQ(mesh.colorMaps[m].polygonValues, expected.polygonValues);
  }
  EXPECT_EQ(read.surfaces.at(0).vertexColorMap, "day");
}

// Objects made by LightWave and modo, from Debian's assimp-testmodels.
TEST(Lwo2Reader, ReadsTheColourMapsOfOtherPeoplesObjects) {
  const std::string folder = "/usr/share/assimp/models/LWO/LWO2/";
  std::vector<std::uint8_t> ugly;
  try {
    ugly = ReadFileBytes(folder + "UglyVertexColors.lwo");
  } catch (const LoadError&) {
    GTEST_SKIP() << "assimp-testmodels is not installed";
  }
  const Lwo2Object object = ReadLwo(ugly, "UglyVertexColors.lwo");
  const Mesh& mesh = object.layers.at(0).mesh;
  ASSERT_EQ(mesh.colorMaps.size(), 1u);
  EXPECT_EQ(mesh.colorMaps[0].name, "MyVColor");
  EXPECT_EQ(mesh.colorMaps[0].type, kVertexMapRgb);
  EXPECT_EQ(mesh.colorMaps[0].dimension, 3);
  EXPECT_FALSE(mesh.colorMaps[0].pointValues.empty());
  EXPECT_FALSE(mesh.colorMaps[0].polygonValues.empty()) << "its VMAD gives per-polygon colours";
  ASSERT_EQ(mesh.uvMaps.size(), 1u);
  EXPECT_EQ(mesh.uvMaps[0].name, "Texture");
  std::vector<std::string> named;
  for (const Lwo2Surface& surface : object.surfaces) named.push_back(surface.vertexColorMap);
  EXPECT_EQ(named, (std::vector<std::string>{"", "MyVColor", ""}));

  const Lwo2Object box = ReadLwo(ReadFileBytes(folder + "box_2vc_1unused.lwo"), "box_2vc_1unused.lwo");
  const Mesh& boxMesh = box.layers.at(0).mesh;
  ASSERT_EQ(boxMesh.colorMaps.size(), 2u);
  EXPECT_EQ(boxMesh.colorMaps[0].name, "Vertex Color 0");
  EXPECT_EQ(boxMesh.colorMaps[0].type, kVertexMapRgba);
  EXPECT_EQ(boxMesh.colorMaps[0].dimension, 4);
  EXPECT_EQ(boxMesh.uvMaps.size(), 2u);
  EXPECT_EQ(box.surfaces.at(0).vertexColorMap, "Vertex Color 0");
}

}  // namespace
}  // namespace host
