// What the renderer draws, checked pixel by pixel: textures the right way
// up and round, faces culled as the game culls them, depth, alpha test and
// blend, and the day and night colours of prelit models.
#include <gtest/gtest.h>

#include <array>
#include <string>

#include "dff/output_stream.h"
#include "dff_inspect/inspect.h"
#include "pixels/level_encoding.h"
#include "render/model_renderer.h"
#include "tests/dff_inspect/dff_builder.h"
#include "txd/txd_writer.h"

namespace render {
namespace {

using dffinfo::testing::Bytes;
using dffinfo::testing::SampleClump;
using dffinfo::testing::SampleGeometry;
using Colour = std::array<std::uint8_t, 4>;

constexpr Colour kRed{255, 0, 0, 255};
constexpr Colour kGreen{0, 255, 0, 255};
constexpr Colour kBlue{0, 0, 255, 255};
constexpr Colour kYellow{255, 255, 0, 255};
constexpr Colour kWhite{255, 255, 255, 255};
constexpr std::uint32_t kSize = 64;

// Positions, a UV set and prelight colours, which draw texels unchanged.
constexpr std::uint32_t kPrelitTextured = 0x0001006E;

// A square of side 2 * half in the plane y = `y`, facing +Y, the front
// view's camera.  Its corners in order: top left, top right, bottom left,
// bottom right as the front view shows them (the view's right is -X), with
// the UV coordinates of the same corners of a texture.
SampleGeometry FrontSquare(float y, float half, Colour material, Colour prelight = kWhite) {
  SampleGeometry g;
  g.format = kPrelitTextured;
  g.positions = {{half, y, half}, {-half, y, half}, {half, y, -half}, {-half, y, -half}};
  g.uvSets = {{{0, 0}, {1, 0}, {0, 1}, {1, 1}}};
  g.prelight.assign(4, prelight);
  g.triangles = {{0, 2, 1, 0}, {1, 2, 3, 0}};  // right-hand normals along +Y
  g.sphere = {0, y, 0, half * 1.5f};
  g.slots = {-1};
  dffinfo::testing::SampleMaterial m;
  m.rgba = material;
  g.materials = {m};
  g.splits = {{0, {0, 2, 1, 1, 2, 3}}};
  g.splitTotal = 6;
  return g;
}

void Texture(SampleGeometry& g, const std::string& name) {
  g.materials[0].textured = 1;
  g.materials[0].texture = dffinfo::testing::SampleTexture{name, "", 0x00011106};
}

SampleClump Model(std::vector<SampleGeometry> geometries) {
  SampleClump clump;
  clump.frames = {dffinfo::testing::SampleFrame{}};
  clump.frames[0].name = "root";
  for (std::uint32_t i = 0; i < geometries.size(); ++i) clump.atomics.push_back({0, i});
  clump.atomicCount = clump.geometryCount = static_cast<std::uint32_t>(geometries.size());
  clump.geometries = std::move(geometries);
  return clump;
}

// An 8 x 8 texture in four quadrants: red, green over blue, yellow.
pixels::RgbaImage Quadrants() {
  pixels::RgbaImage image(8, 8);
  for (std::uint32_t y = 0; y < 8; ++y) {
    for (std::uint32_t x = 0; x < 8; ++x) {
      const Colour& c = y < 4 ? (x < 4 ? kRed : kGreen) : (x < 4 ? kBlue : kYellow);
      std::copy(c.begin(), c.end(), image.texel(x, y));
    }
  }
  return image;
}

// The dictionary's one texture, as 8888 (B, G, R, A) or DXT1.
Bytes Dictionary(const std::string& name, const pixels::RgbaImage& image, bool dxt1) {
  txd::NativeTexture t;
  t.name = name;
  t.width = static_cast<std::uint16_t>(image.width);
  t.height = static_cast<std::uint16_t>(image.height);
  if (dxt1) {
    t.rasterFormat = txd::kRaster565;
    t.d3dFormat = txd::kD3dDxt1;
    t.depth = 16;
    t.flags = txd::kFlagCompressed;
    t.levels = {pixels::EncodeLevel(image, txd::PixelFormat::Dxt1, pixels::DxtQuality::Fast)};
  } else {
    t.rasterFormat = txd::kRaster8888;
    t.d3dFormat = txd::kD3dA8R8G8B8;
    t.depth = 32;
    t.flags = txd::kFlagAlpha;
    std::vector<std::uint8_t> level;
    for (std::size_t i = 0; i < image.texelCount(); ++i) {
      const std::uint8_t* p = &image.rgba[i * 4];
      level.insert(level.end(), {p[2], p[1], p[0], p[3]});
    }
    t.levels = {level};
  }
  dff::OutputStream stream;
  txd::WriteTextureDictionary(stream, {t});
  return stream.bytes();
}

pixels::RgbaImage Render(const SampleClump& model, const Bytes& dictionary = {}, View view = View::kFront,
                         TimeOfDay time = TimeOfDay::kDay) {
  const Bytes dff = dffinfo::testing::Serialise({dffinfo::testing::BuildClump(model)}).bytes;
  const dffinfo::Inspection inspection = dffinfo::Inspect(dff);
  EXPECT_TRUE(inspection.sound());
  DecodedTextures textures;
  if (!dictionary.empty()) {
    const dffinfo::Inspection read = dffinfo::Inspect(dictionary);
    EXPECT_TRUE(read.sound());
    textures = DecodeTextures({dictionary.data(), dictionary.size()}, read.dictionaries.at(0));
  }
  return RenderModel(LayOutClump(inspection.clumps.at(0), textures), view, time, kSize);
}

Colour At(const pixels::RgbaImage& image, std::uint32_t x, std::uint32_t y) {
  const std::uint8_t* p = image.texel(x, y);
  return {p[0], p[1], p[2], p[3]};
}

bool AllBackground(const pixels::RgbaImage& image) {
  for (std::uint32_t y = 0; y < image.height; ++y) {
    for (std::uint32_t x = 0; x < image.width; ++x) {
      if (At(image, x, y) != kBackground) return false;
    }
  }
  return true;
}

TEST(RenderModel, TexturedSquareShowsEachQuadrantInItsCorner) {
  SampleGeometry square = FrontSquare(0, 1, kWhite);
  Texture(square, "Quads");  // found without case
  for (const bool dxt1 : {false, true}) {
    SCOPED_TRACE(dxt1 ? "DXT1" : "8888");
    const pixels::RgbaImage image = Render(Model({square}), Dictionary("quads", Quadrants(), dxt1));
    EXPECT_EQ(At(image, 12, 12), kRed);
    EXPECT_EQ(At(image, 52, 12), kGreen);
    EXPECT_EQ(At(image, 12, 52), kBlue);
    EXPECT_EQ(At(image, 52, 52), kYellow);
    EXPECT_EQ(At(image, 1, 1), kBackground);  // the framing leaves a margin
  }
}

TEST(RenderModel, FacesAreCulledAsTheGameCullsThem) {
  // A triangle is seen from the side its right-hand normal points to.
  const SampleClump square = Model({FrontSquare(0, 1, kWhite)});
  EXPECT_EQ(At(Render(square), 32, 32), kWhite);
  EXPECT_TRUE(AllBackground(Render(square, {}, View::kBack)));
}

TEST(RenderModel, MaterialColourTintsWhatIsDrawn) {
  const pixels::RgbaImage image = Render(Model({FrontSquare(0, 1, {255, 128, 0, 255}, {255, 255, 128, 255})}));
  EXPECT_EQ(At(image, 32, 32), (Colour{255, 128, 0, 255}));
  EXPECT_EQ(At(image, 32, 32), At(image, 10, 50));
}

TEST(RenderModel, PrelitModelTakesItsNightColoursByNight) {
  SampleGeometry lamp = FrontSquare(0, 1, kWhite, kRed);
  const SampleClump withoutNight = Model({lamp});
  lamp.nightColors = Bytes{1, 0, 0, 0};
  for (int i = 0; i < 4; ++i) lamp.nightColors->insert(lamp.nightColors->end(), kBlue.begin(), kBlue.end());
  const SampleClump withNight = Model({lamp});

  EXPECT_EQ(At(Render(withNight, {}, View::kFront, TimeOfDay::kDay), 32, 32), kRed);
  EXPECT_EQ(At(Render(withNight, {}, View::kFront, TimeOfDay::kNight), 32, 32), kBlue);
  // Without night colours the day ones stay.
  EXPECT_EQ(At(Render(withoutNight, {}, View::kFront, TimeOfDay::kNight), 32, 32), kRed);
}

TEST(RenderModel, NearerPartHidesWhatIsBehindItWhateverTheOrder) {
  // The near square is half the size of the far one and drawn first; its
  // frame puts it a metre nearer the camera.
  SampleClump model = Model({FrontSquare(0, 0.5f, kGreen), FrontSquare(0, 1, kRed)});
  model.frames.push_back(dffinfo::testing::SampleFrame{});
  model.frames[1].position = {0, 1, 0};
  model.frames[1].parent = 0;
  model.frames[1].name = "near";
  model.atomics[0].frame = 1;
  pixels::RgbaImage image = Render(model);
  EXPECT_EQ(At(image, 32, 32), kGreen);
  EXPECT_EQ(At(image, 8, 8), kRed);

  std::swap(model.atomics[0], model.atomics[1]);
  image = Render(model);
  EXPECT_EQ(At(image, 32, 32), kGreen);
  EXPECT_EQ(At(image, 8, 8), kRed);
}

TEST(RenderModel, AlphaTestedTexelsShowTheBackground) {
  pixels::RgbaImage cutOut(8, 8);
  for (std::uint32_t y = 0; y < 8; ++y) {
    for (std::uint32_t x = 0; x < 8; ++x) {
      const Colour c = x < 4 ? Colour{255, 255, 255, 0} : kRed;
      std::copy(c.begin(), c.end(), cutOut.texel(x, y));
    }
  }
  SampleGeometry square = FrontSquare(0, 1, kWhite);
  Texture(square, "fence");
  const pixels::RgbaImage image = Render(Model({square}), Dictionary("fence", cutOut, false));
  EXPECT_EQ(At(image, 12, 32), kBackground);
  EXPECT_EQ(At(image, 52, 32), kRed);
}

TEST(RenderModel, TranslucentMaterialBlendsWithWhatIsBehind) {
  // Half-transparent white before an opaque blue square: drawn last
  // although it comes first in the file.
  SampleClump model = Model({FrontSquare(0, 0.5f, {255, 255, 255, 128}), FrontSquare(0, 1, kBlue)});
  model.frames.push_back(dffinfo::testing::SampleFrame{});
  model.frames[1].position = {0, 1, 0};
  model.frames[1].parent = 0;
  model.frames[1].name = "glass";
  model.atomics[0].frame = 1;
  const pixels::RgbaImage image = Render(model);
  const Colour middle = At(image, 32, 32);
  EXPECT_NEAR(middle[0], 128, 1);
  EXPECT_NEAR(middle[1], 128, 1);
  EXPECT_EQ(middle[2], 255);
  EXPECT_EQ(At(image, 8, 8), kBlue);
}

TEST(RenderSheet, HoldsEachViewByDayOverByNight) {
  SampleGeometry lamp = FrontSquare(0, 1, kWhite, kRed);
  lamp.nightColors = Bytes{1, 0, 0, 0};
  for (int i = 0; i < 4; ++i) lamp.nightColors->insert(lamp.nightColors->end(), kBlue.begin(), kBlue.end());
  const Bytes dff = dffinfo::testing::Serialise({dffinfo::testing::BuildClump(Model({lamp}))}).bytes;
  const dffinfo::Inspection inspection = dffinfo::Inspect(dff);
  const ModelScene scene = LayOutClump(inspection.clumps.at(0), DecodedTextures{});
  const pixels::RgbaImage sheet = RenderSheet(scene, 32);
  ASSERT_EQ(sheet.width, 96u);
  ASSERT_EQ(sheet.height, 64u);
  const pixels::RgbaImage day = RenderModel(scene, kSheetViews[0], TimeOfDay::kDay, 32);
  const pixels::RgbaImage night = RenderModel(scene, kSheetViews[0], TimeOfDay::kNight, 32);
  for (std::uint32_t y = 0; y < 32; ++y) {
    for (std::uint32_t x = 0; x < 32; ++x) {
      ASSERT_EQ(At(sheet, x, y), At(day, x, y)) << x << ", " << y;
      ASSERT_EQ(At(sheet, x, y + 32), At(night, x, y)) << x << ", " << y;
    }
  }
}

}  // namespace
}  // namespace render
