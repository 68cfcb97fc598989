// Reading well-formed files: every decoded value against the model the file
// was built from, the chunk tree's paths and offsets, and files from other
// tools and library versions.
#include <gtest/gtest.h>

#include "dff_inspect/inspect.h"
#include "tests/dff_inspect/dff_builder.h"

namespace dffinfo {
namespace {

using dff::ChunkType;
using testing::BuildClump;
using testing::Bytes;
using testing::File;
using testing::Make;
using testing::MakeSampleClump;
using testing::Payload;
using testing::SampleClump;
using testing::Serialise;

std::string FindingsText(const Inspection& inspection) {
  std::string text;
  for (const Finding& f : inspection.findings.all()) text += Describe(f) + "\n";
  return text;
}

void ExpectTexture(const TextureRecord& actual, const testing::SampleTexture& expected) {
  EXPECT_EQ(actual.name, expected.name);
  EXPECT_EQ(actual.mask, expected.mask);
  EXPECT_EQ(actual.filterWord, expected.filterWord);
}

void ExpectMaterial(const MaterialRecord& actual, const testing::SampleMaterial& expected) {
  EXPECT_EQ(actual.rgba, expected.rgba);
  EXPECT_EQ(actual.textured, expected.textured);
  EXPECT_EQ(actual.unused, 0x00BAA3DCu);
  ASSERT_TRUE(actual.surface);
  EXPECT_FLOAT_EQ(actual.surface->ambient, 0.4f);
  EXPECT_FLOAT_EQ(actual.surface->diffuse, 1.0f);
  ASSERT_EQ(actual.texture.has_value(), expected.texture.has_value());
  if (expected.texture) ExpectTexture(*actual.texture, *expected.texture);
  ASSERT_EQ(actual.effects.has_value(), expected.environmentMap.has_value());
  if (expected.environmentMap) {
    EXPECT_EQ(actual.effects->effectType, 2u);
    ASSERT_EQ(actual.effects->slots.size(), 2u);
    EXPECT_EQ(actual.effects->slots[1].type, kEffectNone);
    const EffectSlot* env = actual.effects->EnvironmentMap();
    ASSERT_NE(env, nullptr);
    EXPECT_EQ(env->coefficient, expected.reflectivity);
    ASSERT_TRUE(env->texture);
    ExpectTexture(*env->texture, *expected.environmentMap);
  }
  ASSERT_EQ(actual.reflection.has_value(), expected.reflectionRecord);
  if (expected.reflectionRecord) {
    const float r = expected.reflectivity;
    EXPECT_EQ(actual.reflection->values, (std::array<float, 6>{r, r, r, 1, r, 1}));
  }
  ASSERT_TRUE(actual.specular);
  EXPECT_EQ(actual.specular->level, expected.glossiness);
  EXPECT_EQ(actual.specular->textureName, "vehiclespecdot64");
}

TEST(Reader, EveryRecordOfACompleteClumpMatchesItsModel) {
  const SampleClump model = MakeSampleClump();
  const File file = Serialise({BuildClump(model)});
  const Inspection result = Inspect(file.bytes);
  ASSERT_TRUE(result.sound()) << FindingsText(result);
  EXPECT_TRUE(result.findings.all().empty()) << FindingsText(result);
  ASSERT_EQ(result.clumps.size(), 1u);
  const ClumpRecord& clump = result.clumps[0];

  EXPECT_EQ(clump.atomicCount, 1u);
  EXPECT_EQ(clump.lightCount, 0u);
  ASSERT_EQ(clump.frames.size(), model.frames.size());
  for (std::size_t i = 0; i < model.frames.size(); ++i) {
    EXPECT_EQ(clump.frames[i].rotation, model.frames[i].rotation);
    EXPECT_EQ(clump.frames[i].position, model.frames[i].position);
    EXPECT_EQ(clump.frames[i].parent, model.frames[i].parent);
    EXPECT_EQ(clump.frames[i].name, model.frames[i].name);
  }

  ASSERT_EQ(clump.geometries.size(), 1u);
  const GeometryRecord& g = clump.geometries[0];
  const testing::SampleGeometry& mg = model.geometries[0];
  EXPECT_EQ(g.format, 0x00010076u);
  EXPECT_EQ(g.flags(), 0x76u);
  EXPECT_EQ(g.uvSetCountByte(), 1u);
  EXPECT_EQ(g.triangleCount, 2u);
  EXPECT_EQ(g.vertexCount, 4u);
  EXPECT_EQ(g.uvSets, mg.uvSets);
  ASSERT_EQ(g.triangles.size(), mg.triangles.size());
  for (std::size_t t = 0; t < mg.triangles.size(); ++t) {
    const Triangle& tri = g.triangles[t];
    EXPECT_EQ((std::array<std::uint16_t, 4>{tri.a, tri.b, tri.c, tri.material}), mg.triangles[t]);
  }
  ASSERT_EQ(g.morphTargets.size(), 1u);
  const MorphTarget& target = g.morphTargets[0];
  EXPECT_EQ(target.sphereCentre, (Vec3{mg.sphere[0], mg.sphere[1], mg.sphere[2]}));
  EXPECT_EQ(target.sphereRadius, mg.sphere[3]);
  EXPECT_EQ(target.positions, mg.positions);
  EXPECT_EQ(target.normals, mg.normals);
  EXPECT_TRUE(g.prelight.empty());

  ASSERT_TRUE(g.materialList);
  EXPECT_EQ(g.materialList->slots, mg.slots);
  ASSERT_EQ(g.materialList->materials.size(), mg.materials.size());
  for (std::size_t m = 0; m < mg.materials.size(); ++m) {
    SCOPED_TRACE(m);
    ExpectMaterial(g.materialList->materials[m], mg.materials[m]);
  }
  ASSERT_TRUE(g.binMesh);
  EXPECT_EQ(g.binMesh->flags, 0u);
  EXPECT_EQ(g.binMesh->totalIndexCount, 6u);
  ASSERT_EQ(g.binMesh->splits.size(), 2u);
  for (std::size_t s = 0; s < 2; ++s) {
    EXPECT_EQ(g.binMesh->splits[s].material, mg.splits[s].material);
    EXPECT_EQ(g.binMesh->splits[s].indices, mg.splits[s].indices);
  }
  EXPECT_EQ(g.breakable, 0u);

  ASSERT_EQ(clump.atomics.size(), 1u);
  const AtomicRecord& atomic = clump.atomics[0];
  EXPECT_EQ(atomic.frameIndex, 1u);
  EXPECT_EQ(atomic.geometryIndex, 0u);
  EXPECT_EQ(atomic.flags, 5u);
  ASSERT_TRUE(atomic.rightToRender);
  EXPECT_EQ(atomic.rightToRender->pluginId, 0x120u);
  EXPECT_EQ(atomic.materialEffects, 1u);

  ASSERT_EQ(clump.collisions.size(), 1u);
  EXPECT_EQ(clump.collisions[0].size, model.collision->size());
  EXPECT_EQ(clump.collisions[0].origin.offset + 12 + clump.collisions[0].size, file.bytes.size());
}

TEST(Reader, ChunkPathsAndOffsetsNameEveryChunk) {
  const File file = Serialise({BuildClump(MakeSampleClump())});
  const Inspection result = Inspect(file.bytes);
  ASSERT_EQ(result.chunks.size(), 1u);
  const Chunk& clump = result.chunks[0];
  EXPECT_EQ(clump.path, "Clump");
  EXPECT_EQ(clump.size + 12, file.bytes.size());
  EXPECT_EQ(clump.version, dff::kLibraryVersion);

  const Chunk* geometryList = FindChild(clump, ChunkType::GeometryList);
  ASSERT_NE(geometryList, nullptr);
  const Chunk& geometry = geometryList->children.at(1);
  EXPECT_EQ(geometry.path, "Clump/GeometryList/Geometry[0]");
  EXPECT_EQ(geometry.offset, file.offsets.at("geometry 0"));
  const Chunk* list = FindChild(geometry, ChunkType::MaterialList);
  ASSERT_NE(list, nullptr);
  const Chunk& material = list->children.at(2);
  EXPECT_EQ(material.path, "Clump/GeometryList/Geometry[0]/MaterialList/Material[1]");
  EXPECT_EQ(material.offset, file.offsets.at("material 0.1"));
  EXPECT_EQ(material.children.at(1).children.at(0).path,
            "Clump/GeometryList/Geometry[0]/MaterialList/Material[1]/Extension/SpecularMaterial");
  const Chunk* texture = FindChild(list->children.at(1), ChunkType::Texture);
  ASSERT_NE(texture, nullptr);
  EXPECT_EQ(texture->children.at(2).path,
            "Clump/GeometryList/Geometry[0]/MaterialList/Material[0]/Texture/String[1]");
  EXPECT_EQ(clump.children.at(1).children.at(1).children.at(0).path,
            "Clump/FrameList/Extension[0]/FrameName");
}

// Files of other tools: plug-ins this reader does not decode are listed and
// skipped by their size, a second empty clump Extension and the collision
// record of other tools are accepted, and an older library's geometry
// record with its surface properties is decoded.
TEST(Reader, ForeignPluginsVersionsAndLayoutsAreRead) {
  SampleClump model = MakeSampleClump();
  model.collision.reset();
  testing::Node clump = BuildClump(model);
  testing::Node& geometry = clump.children.at(2).children.at(1);
  testing::Node& extension = geometry.children.at(2);
  extension.children.push_back(Make(0x0253F2F3u, Payload().U32(1).U32(0xFF00FF00).bytes()));
  extension.children.push_back(Make(0x7E57AB1Eu, Payload().U32(7).bytes()));
  clump.children.back().children.push_back(Make(ChunkType::CollisionAlternative, Bytes(40, 0)));
  clump.children.push_back(Make(ChunkType::Extension));
  const Inspection result = Inspect(Serialise({Make(0x2Bu), clump}).bytes);
  ASSERT_TRUE(result.sound()) << FindingsText(result);
  ASSERT_EQ(result.clumps.size(), 1u);
  const ClumpRecord& c = result.clumps[0];
  EXPECT_EQ(c.geometries.at(0).otherPlugins, (std::vector<std::uint32_t>{0x0253F2F3u, 0x7E57AB1Eu}));
  ASSERT_EQ(c.collisions.size(), 1u);
  EXPECT_EQ(c.collisions[0].type, dff::ToWord(ChunkType::CollisionAlternative));
  EXPECT_EQ(c.collisions[0].size, 40u);

  // Library 3.3.0.2: the geometry's surface properties follow its counts.
  Payload old;
  old.U32(0x00000072).U32(0).U32(1).U32(1).F32(0.5f).F32(0.25f).F32(1.0f);
  old.F32(0).F32(0).F32(0).F32(0).U32(1).U32(0).F32(0).F32(0).F32(0);
  testing::Node oldGeometry = Make(ChunkType::Geometry, {},
                                   {Make(ChunkType::Struct, old.bytes()),
                                    Make(ChunkType::MaterialList, {}, {Make(ChunkType::Struct, Payload().U32(0).bytes())}),
                                    Make(ChunkType::Extension)});
  for (testing::Node* node : {&oldGeometry, &oldGeometry.children[0]}) node->version = 0x0C02FFFF;
  geometry = oldGeometry;
  const Inspection older = Inspect(Serialise({clump}).bytes);
  ASSERT_TRUE(older.sound()) << FindingsText(older);
  const GeometryRecord& g = older.clumps.at(0).geometries.at(0);
  ASSERT_TRUE(g.surface);
  EXPECT_EQ(g.surface->specular, 0.25f);
  EXPECT_EQ(g.morphTargets.at(0).positions, (std::vector<Vec3>{{0, 0, 0}}));
}

// Prelight colours come before the UV sets, and two sets are read set by set.
TEST(Reader, PrelightAndTwoUvSets) {
  SampleClump model = MakeSampleClump();
  testing::SampleGeometry& g = model.geometries[0];
  g.format = 0x000200FA;  // two sets: TEXTURED2 and PRELIT among the flags
  g.uvSets.push_back({{2, 2}, {3, 2}, {3, 3}, {2, 3}});
  testing::Node clump = BuildClump(model);
  testing::Node& structNode = clump.children.at(2).children.at(1).children.at(0);
  Bytes colours = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16};
  structNode.data.insert(structNode.data.begin() + 16, colours.begin(), colours.end());
  const Inspection result = Inspect(Serialise({clump}).bytes);
  ASSERT_TRUE(result.sound()) << FindingsText(result);
  const GeometryRecord& decoded = result.clumps.at(0).geometries.at(0);
  EXPECT_EQ(decoded.prelight.at(3), (Rgba{13, 14, 15, 16}));
  EXPECT_EQ(decoded.uvSets, g.uvSets);
  EXPECT_EQ(decoded.morphTargets.at(0).positions, g.positions);
}

}  // namespace
}  // namespace dffinfo
