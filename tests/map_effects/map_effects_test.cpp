// Lights and particle nulls of a map object, through the stand-in host and
// the real map module, read back from the DFF: each light stands where
// Layout shows it (through the frames, as the game composes them), and
// its fields are the game's own lamp post's and traffic light's
// (lamppost1.dff, trafficlight1.dff) where the scene says nothing else.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dff/chunk_type.h"
#include "tests/map_effects/effect_scene.h"

namespace effecttest {
namespace {

using dffinfo::Effect2dRecord;
using dffinfo::LightEffectRecord;
using placementtest::Pose;

constexpr double kDegree = 3.14159265358979323846 / 180.0;

// What sets one of the game's lamps apart from the others; every other
// field is the same in all seven entries of the two files.
struct GameLamp {
  dffinfo::Rgba color{};
  float range = 0.0f;
  float coronaSize = 0.0f;
  std::uint8_t showMode = 0;
};

void ExpectGameLamp(const LightEffectRecord& light, const GameLamp& lamp) {
  EXPECT_EQ(light.color, lamp.color);
  EXPECT_EQ(light.pointLightRange, lamp.range);
  EXPECT_EQ(light.coronaSize, lamp.coronaSize);
  EXPECT_EQ(light.coronaShowMode, lamp.showMode);
  EXPECT_EQ(light.coronaFarClip, 100.0f);
  EXPECT_EQ(light.shadowSize, 8.0f);
  EXPECT_EQ(light.coronaReflection, 1);
  EXPECT_EQ(light.coronaFlareType, 0);
  EXPECT_EQ(light.shadowColorMultiplier, 40);
  EXPECT_EQ(light.flags1, 0x42);
  EXPECT_EQ(light.flags2, 0x04);
  EXPECT_EQ(light.coronaTexture, "coronastar");
  EXPECT_EQ(light.shadowTexture, "shad_exp");
  EXPECT_EQ(light.shadowZDistance, 0);
  EXPECT_EQ(light.lookDirection, (std::array<std::int8_t, 3>{0, 0, 100}));
}

const dffinfo::Chunk* FindChunk(const std::vector<dffinfo::Chunk>& chunks, const std::string& path) {
  for (const dffinfo::Chunk& chunk : chunks) {
    if (chunk.path == path) return &chunk;
    if (const dffinfo::Chunk* found = FindChunk(chunk.children, path)) return found;
  }
  return nullptr;
}

// The entries of geometry 0, which must close its Extension, each where
// Layout shows the item of `items` at the same position in `effectItems`.
std::vector<Effect2dRecord> EntriesAt(const dffinfo::Inspection& dff, const std::vector<SceneItem>& items,
                                      const std::vector<int>& effectItems) {
  EXPECT_TRUE(dff.sound());
  const dffinfo::Chunk* extension = FindChunk(dff.chunks, "Clump/GeometryList/Geometry[0]/Extension");
  EXPECT_TRUE(extension != nullptr && !extension->children.empty() &&
              extension->children.back().type == dff::ToWord(dff::ChunkType::Effects2d));
  const dffinfo::ClumpRecord& clump = dff.clumps.at(0);
  const dffinfo::GeometryRecord& geometry = clump.geometries.at(0);
  if (!geometry.effects) {
    ADD_FAILURE() << "no 2d effects";
    return {};
  }
  const std::vector<Effect2dRecord>& entries = geometry.effects->entries;
  EXPECT_EQ(geometry.effects->count, effectItems.size());
  EXPECT_EQ(entries.size(), effectItems.size());
  const std::uint32_t frame = clump.atomics.at(0).frameIndex;
  for (std::size_t i = 0; i < entries.size() && i < effectItems.size(); ++i) {
    const placementtest::Point world = placementtest::ThroughFrames(clump, frame, entries[i].position);
    const placementtest::Point layout = placementtest::LayoutWorld(Poses(items), effectItems[i], {0, 0, 0});
    EXPECT_LT(placementtest::Distance(world, layout), 1e-5) << "entry " << i;
  }
  return entries;
}

// A lamp post turned, scaled and standing on a pivot off its origin, its
// lamp on a turned arm (a null).
std::vector<SceneItem> LampPost() {
  return {Object("post.lwo", {-1, {3, 0, -2}, {30 * kDegree, 0, 5 * kDegree}, {1, 1.2, 1}, {0.2, 0, 0.1}}),
          Null("arm", {0, {0, 3.6, 0}, {0, 10 * kDegree, 0}}),
          PointLight("lamp", {1, {0.45, -0.05, 0}}, {249 / 255.0, 145 / 255.0, 34 / 255.0})};
}

TEST(MapEffects, ALampPostsLightIsTheGamesLampAtItsPlace) {
  SceneFolder folder;
  folder.WriteBox("post.lwo");
  const std::vector<SceneItem> items = LampPost();
  folder.WriteScene(items);
  const testsupport::ProgramResult run = folder.ExportMap();
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_NE(run.out.find("carries 1 light."), std::string::npos) << run.out;
  const std::vector<Effect2dRecord> entries = EntriesAt(folder.ReadMap(), items, {2});
  ASSERT_EQ(entries.size(), 1u);
  EXPECT_EQ(entries[0].type, 0u);
  EXPECT_EQ(entries[0].size, 80u);
  ASSERT_TRUE(entries[0].light);
  ExpectGameLamp(*entries[0].light, {{249, 145, 34, 200}, 12.0f, 2.5f, 0});
}

// Six lamps, red, amber and green on two faces of the head (a null), with
// Layout's linear falloff ending at 18 m, the corona size and the traffic
// light show mode in their names.
TEST(MapEffects, ATrafficLightsSixLampsAreTheGamesTrafficLamps) {
  SceneFolder folder;
  folder.WriteBox("pole.lwo");
  std::vector<SceneItem> items = {Object("pole.lwo", {-1, {0, 0, 0}, {-90 * kDegree, 0, 0}}),
                                  Null("head", {0, {0, 2.8, -3}, {0, 0, 0}})};
  const host::Vec3 red{1, 0, 0}, amber{1, 210 / 255.0, 52 / 255.0}, green{0, 1, 0};
  const host::Vec3 colours[] = {red, amber, green};
  for (int face = 0; face < 2; ++face) {
    for (int lamp = 0; lamp < 3; ++lamp) {
      SceneItem light = PointLight("signal" + std::to_string(face * 3 + lamp) + " [corona=1 traffic]",
                                   {1, {face == 0 ? 0.4 : -0.8, 0.33 - 0.33 * lamp, 0.0}}, colours[lamp]);
      light.item.light.falloff = 1;
      light.item.light.range = 18;
      items.push_back(light);
    }
  }
  folder.WriteScene(items);
  const testsupport::ProgramResult run = folder.ExportMap();
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.err.find("tags"), std::string::npos) << run.err;
  const std::vector<Effect2dRecord> entries = EntriesAt(folder.ReadMap(), items, {2, 3, 4, 5, 6, 7});
  const dffinfo::Rgba games[] = {{255, 0, 0, 200}, {255, 210, 52, 200}, {0, 255, 0, 200}};
  for (std::size_t i = 0; i < entries.size(); ++i) {
    SCOPED_TRACE(i);
    ASSERT_TRUE(entries[i].light);
    ExpectGameLamp(*entries[i].light, {games[i % 3], 18.0f, 1.0f, 7});
  }
}

// Each tag changes its field and nothing else; a light's own range gives
// way to a range tag.  Tags are not case-sensitive.
TEST(MapEffects, EachTagSetsItsField) {
  struct Case {
    const char* tags;
    void (*change)(LightEffectRecord&);
  };
  const Case cases[] = {
      {"corona=1.5", [](LightEffectRecord& l) { l.coronaSize = 1.5f; }},
      {"FAR=50", [](LightEffectRecord& l) { l.coronaFarClip = 50.0f; }},
      {"range=7", [](LightEffectRecord& l) { l.pointLightRange = 7.0f; }},
      {"shadow=0", [](LightEffectRecord& l) { l.shadowSize = 0.0f; }},
      {"shadowalpha=99", [](LightEffectRecord& l) { l.shadowColorMultiplier = 99; }},
      {"flare=yellow", [](LightEffectRecord& l) { l.coronaFlareType = 1; }},
      {"flare=White", [](LightEffectRecord& l) { l.coronaFlareType = 2; }},
      {"show=11", [](LightEffectRecord& l) { l.coronaShowMode = 11; }},
      {"random", [](LightEffectRecord& l) { l.coronaShowMode = 1; }},
      {"warning", [](LightEffectRecord& l) { l.coronaShowMode = 6; }},
      {"traffic", [](LightEffectRecord& l) { l.coronaShowMode = 7; }},
      {"crossing", [](LightEffectRecord& l) { l.coronaShowMode = 8; }},
      {"rain", [](LightEffectRecord& l) { l.coronaShowMode = 10; }},
      {"day", [](LightEffectRecord& l) { l.flags1 = 0x22; }},
      {"always", [](LightEffectRecord& l) { l.flags1 = 0x62; }},
      {"blink", [](LightEffectRecord& l) { l.flags1 = 0xC2; }},
      {"fastblink", [](LightEffectRecord& l) { l.flags2 = 0x06; }},
      {"nocorona", [](LightEffectRecord& l) { l.flags1 = 0x4A; }},
      {"obstacles", [](LightEffectRecord& l) { l.flags1 = 0x43; }},
      {"noreflect", [](LightEffectRecord& l) { l.coronaReflection = 0; }},
      {"coronatex=Shine1", [](LightEffectRecord& l) { l.coronaTexture = "Shine1"; }},
      {"shadowtex=shad_car", [](LightEffectRecord& l) { l.shadowTexture = "shad_car"; }},
      {"day,blink  corona=3", [](LightEffectRecord& l) {
         l.flags1 = 0xA2;
         l.coronaSize = 3.0f;
       }},
  };
  SceneFolder folder;
  folder.WriteBox("post.lwo");
  std::vector<SceneItem> items = {Object("post.lwo", {})};
  std::vector<int> lights;
  for (const Case& c : cases) {
    SceneItem light = PointLight(std::string("lamp [") + c.tags + "]", {0, {0, 3, 0}}, {1, 1, 1});
    light.item.light.falloff = 2;  // Layout's range, 3 m, applies unless a tag sets one
    light.item.light.range = 3;
    lights.push_back(static_cast<int>(items.size()));
    items.push_back(light);
  }
  folder.WriteScene(items);
  const testsupport::ProgramResult run = folder.ExportMap();
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.err.find("tags"), std::string::npos) << run.err;
  const std::vector<Effect2dRecord> entries = EntriesAt(folder.ReadMap(), items, lights);
  ASSERT_EQ(entries.size(), std::size(cases));
  for (std::size_t i = 0; i < entries.size(); ++i) {
    SCOPED_TRACE(cases[i].tags);
    ASSERT_TRUE(entries[i].light);
    LightEffectRecord expected = *entries[i].light;
    const LightEffectRecord& written = *entries[i].light;
    // Start from the untagged lamp: white, Layout's range.
    expected.color = {255, 255, 255, 200};
    expected.pointLightRange = 3.0f;
    expected.coronaFarClip = 100.0f;
    expected.coronaSize = 2.5f;
    expected.shadowSize = 8.0f;
    expected.coronaShowMode = 0;
    expected.coronaReflection = 1;
    expected.coronaFlareType = 0;
    expected.shadowColorMultiplier = 40;
    expected.flags1 = 0x42;
    expected.flags2 = 0x04;
    expected.coronaTexture = "coronastar";
    expected.shadowTexture = "shad_exp";
    cases[i].change(expected);
    EXPECT_EQ(written.color, expected.color);
    EXPECT_EQ(written.pointLightRange, expected.pointLightRange);
    EXPECT_EQ(written.coronaFarClip, expected.coronaFarClip);
    EXPECT_EQ(written.coronaSize, expected.coronaSize);
    EXPECT_EQ(written.shadowSize, expected.shadowSize);
    EXPECT_EQ(written.coronaShowMode, expected.coronaShowMode);
    EXPECT_EQ(written.coronaReflection, expected.coronaReflection);
    EXPECT_EQ(written.coronaFlareType, expected.coronaFlareType);
    EXPECT_EQ(written.shadowColorMultiplier, expected.shadowColorMultiplier);
    EXPECT_EQ(written.flags1, expected.flags1);
    EXPECT_EQ(written.flags2, expected.flags2);
    EXPECT_EQ(written.coronaTexture, expected.coronaTexture);
    EXPECT_EQ(written.shadowTexture, expected.shadowTexture);
  }
}

// A null named fx_<effect>, through another null, is the game's particle
// effect of that name where Layout shows the null; Layout's " (2)" for a
// repeated name is not part of it.
TEST(MapEffects, AnFxNullIsAParticleEffect) {
  SceneFolder folder;
  folder.WriteBox("post.lwo");
  const std::vector<SceneItem> items = {Object("post.lwo", {-1, {1, 0, 0}, {0, 0, 0}, {1, 1, 1}, {0, 0.5, 0}}),
                                        Null("chimney", {0, {0, 4, 0}, {45 * kDegree, 0, 0}}),
                                        Null("fx_smoke30lit (2)", {1, {0.1, 0.2, 0.3}})};
  folder.WriteScene(items);
  const testsupport::ProgramResult run = folder.ExportMap();
  ASSERT_EQ(run.status, 0) << run.err;
  const std::vector<Effect2dRecord> entries = EntriesAt(folder.ReadMap(), items, {2});
  ASSERT_EQ(entries.size(), 1u);
  EXPECT_EQ(entries[0].type, 1u);
  EXPECT_EQ(entries[0].size, 24u);
  EXPECT_EQ(entries[0].particle, "smoke30lit");
}

// An object split into parts keeps its effects in its first part, which
// shares the object's frame.
TEST(MapEffects, ASplitObjectsEffectsAreInItsFirstPart) {
  SceneFolder folder;
  folder.WriteBigGrid("ground.lwo");
  const std::vector<SceneItem> items = {Object("ground.lwo", {-1, {5, 0, 5}, {20 * kDegree, 0, 0}}),
                                        PointLight("lamp", {0, {12.8, 3, 12.8}}, {1, 1, 1}),
                                        Null("fx_fire", {0, {1, 0.5, 1}})};
  folder.WriteScene(items);
  const testsupport::ProgramResult run = folder.ExportMap();
  ASSERT_EQ(run.status, 0) << run.err;
  const dffinfo::Inspection dff = folder.ReadMap();
  ASSERT_GE(dff.clumps.at(0).geometries.size(), 2u);
  for (std::size_t g = 1; g < dff.clumps.at(0).geometries.size(); ++g) {
    EXPECT_FALSE(dff.clumps.at(0).geometries[g].effects) << "geometry " << g;
  }
  const std::vector<Effect2dRecord> entries = EntriesAt(dff, items, {1, 2});
  ASSERT_EQ(entries.size(), 2u);
  EXPECT_TRUE(entries[0].light);
  EXPECT_EQ(entries[1].particle, "fire");
}

// What gives no entry, or no change, is named: tags not understood (the
// light is still written, untouched by them), lights under a collision
// item or under nothing, a distant light on the model.  A scene's own
// distant light in the open is its lighting, and says nothing.
TEST(MapEffects, LightsAndTagsThatGiveNothingAreNamed) {
  SceneFolder folder;
  folder.WriteBox("post.lwo");
  folder.WriteBox("post_col.lwo");
  std::vector<SceneItem> items = {Object("post.lwo", {}), Object("post_col.lwo", {}),
                                  PointLight("a [bogus corona=2]", {0, {0, 3, 0}}, {1, 1, 1}),
                                  PointLight("b [corona=-1 flare=green show=13]", {0, {0, 3, 0}}, {1, 1, 1}),
                                  PointLight("c [corona=2", {0, {0, 3, 0}}, {1, 1, 1}),
                                  PointLight("under_col", {1, {0, 3, 0}}, {1, 1, 1}),
                                  PointLight("stray", {-1, {0, 3, 0}}, {1, 1, 1}),
                                  PointLight("sunlamp", {0, {0, 3, 0}}, {1, 1, 1}),
                                  PointLight("Light", {-1, {0, 3, 0}}, {1, 1, 1})};
  items[7].item.light.type = 0;
  items[8].item.light.type = 0;
  folder.WriteScene(items);
  const testsupport::ProgramResult run = folder.ExportMap();
  ASSERT_EQ(run.status, 0) << run.err;
  for (const char* words : {"\"a [bogus corona=2]\" has tags that changed nothing: \"bogus\" is not a light setting.",
                            "\"corona=-1\" needs a distance", "\"flare=green\" needs none, yellow or white",
                            "\"show=13\" needs a whole number from 0 to 12", "has no closing ']'",
                            "\"under_col\" under \"post_col\"", "\"stray\"", "\"sunlamp\" (distant)"}) {
    EXPECT_NE(run.err.find(words), std::string::npos) << words << "\n" << run.err;
  }
  EXPECT_EQ(run.err.find("\"Light"), std::string::npos) << run.err;
  const std::vector<Effect2dRecord> entries = EntriesAt(folder.ReadMap(), items, {2, 3, 4});
  ASSERT_EQ(entries.size(), 3u);
  EXPECT_EQ(entries[0].light->coronaSize, 2.0f);
  EXPECT_EQ(entries[1].light->coronaSize, 2.5f);
  EXPECT_EQ(entries[1].light->coronaFlareType, 0);
  EXPECT_EQ(entries[2].light->coronaSize, 2.5f);
}

// A particle effect's name over the game's 23 characters writes nothing,
// and the error names the null.
TEST(MapEffects, AnEffectNameTooLongForTheGameIsAnError) {
  SceneFolder folder;
  folder.WriteBox("post.lwo");
  folder.WriteScene({Object("post.lwo", {}), Null("fx_a_particle_effect_name_24", {0, {0, 4, 0}})});
  const testsupport::ProgramResult run = folder.ExportMap();
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("\"fx_a_particle_effect_name_24\" names an effect of 25 characters"), std::string::npos)
      << run.err;
  EXPECT_FALSE(folder.MapWritten());
}

}  // namespace
}  // namespace effecttest
