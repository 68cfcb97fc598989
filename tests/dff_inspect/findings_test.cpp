// Damage and warnings: each rule fires on a file that breaks it, naming the
// chunk path and the offset of the offending bytes, and warnings about the
// game's limits leave the file sound.
#include <gtest/gtest.h>

#include <functional>

#include "dff_inspect/inspect.h"
#include "tests/dff_inspect/dff_builder.h"

namespace dffinfo {
namespace {

using testing::BuildClump;
using testing::File;
using testing::MakeSampleClump;
using testing::SampleClump;
using testing::Serialise;

const std::string kGeometry = "Clump/GeometryList/Geometry[0]";

std::string FindingsText(const Inspection& inspection) {
  std::string text;
  for (const Finding& f : inspection.findings.all()) text += Describe(f) + "\n";
  return text;
}

void ExpectFinding(const Inspection& result, Severity severity, const std::string& path,
                   std::size_t offset, const std::string& words) {
  for (const Finding& f : result.findings.all()) {
    if (f.severity == severity && f.path == path && f.offset == offset &&
        f.message.find(words) != std::string::npos) {
      return;
    }
  }
  ADD_FAILURE() << "expected \"" << words << "\" at " << path << " offset " << offset
                << "; found:\n"
                << FindingsText(result);
}

void ExpectDamage(const Inspection& result, const std::string& path, std::size_t offset,
                  const std::string& words) {
  EXPECT_FALSE(result.sound());
  ExpectFinding(result, Severity::Damage, path, offset, words);
}

// The sample clump after `change`, serialised.
File Changed(const std::function<void(SampleClump&)>& change) {
  SampleClump model = MakeSampleClump();
  change(model);
  return Serialise({BuildClump(model)});
}

std::size_t Payload(const File& file, const std::string& tag) { return file.offsets.at(tag) + 12; }

void PatchU32(File& file, std::size_t offset, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) file.bytes.at(offset + static_cast<std::size_t>(i)) = static_cast<std::uint8_t>(value >> (8 * i));
}

TEST(Damage, CountsThatDisagree) {
  File f = Changed([](SampleClump& c) { c.atomicCount = 2; });
  ExpectDamage(Inspect(f.bytes), "Clump/Struct", Payload(f, "clump struct"), "declares 2 atomics but holds 1");

  f = Changed([](SampleClump& c) { c.geometryCount = 3; });
  ExpectDamage(Inspect(f.bytes), "Clump/GeometryList/Struct", Payload(f, "geometry list struct"),
               "declares 3 geometries but holds 1");

  f = Changed([](SampleClump& c) { c.geometries[0].slots = {-1, -1, -1}; });
  ExpectDamage(Inspect(f.bytes), kGeometry + "/MaterialList", f.offsets.at("material list 0"),
               "3 slots of their own (-1) but holds 2 Material chunks");

  f = Changed([](SampleClump& c) { c.geometries[0].slots = {-1, 1}; });
  ExpectDamage(Inspect(f.bytes), kGeometry + "/MaterialList/Struct",
               Payload(f, "material list 0") + 12 + 8, "shares slot 1, which is not an earlier");

  testing::Node clump = BuildClump(MakeSampleClump());
  clump.children.at(1).children.pop_back();
  f = Serialise({clump});
  ExpectDamage(Inspect(f.bytes), "Clump/FrameList", f.offsets.at("frame list"),
               "declares 2 frames but holds 1 frame Extensions");
}

TEST(Damage, IndicesOutOfRange) {
  // Triangle 1 starts 8 bytes after triangle 0, which follows the 16 bytes of
  // counts and the 32 bytes of the UV set.
  File f = Changed([](SampleClump& c) { c.geometries[0].triangles[1][2] = 4; });
  ExpectDamage(Inspect(f.bytes), kGeometry + "/Struct", Payload(f, "geometry 0 struct") + 56,
               "triangle 1 uses vertex 4 of 4");

  f = Changed([](SampleClump& c) { c.geometries[0].triangles[0][3] = 2; });
  ExpectDamage(Inspect(f.bytes), kGeometry + "/Struct", Payload(f, "geometry 0 struct") + 52,
               "triangle 0 uses material 2 of 2");

  f = Changed([](SampleClump& c) { c.geometries[0].splits[1].material = 2; });
  ExpectDamage(Inspect(f.bytes), kGeometry + "/Extension/BinMesh", Payload(f, "bin mesh 0") + 12 + 20 + 4,
               "split 1 uses material 2 of 2");

  f = Changed([](SampleClump& c) { c.geometries[0].splits[0].indices[2] = 7; });
  ExpectDamage(Inspect(f.bytes), kGeometry + "/Extension/BinMesh", Payload(f, "bin mesh 0") + 12 + 8 + 8,
               "split 0 uses vertex 7 of 4");

  f = Changed([](SampleClump& c) { c.atomics[0] = {2, 1}; });
  const Inspection atomics = Inspect(f.bytes);
  ExpectDamage(atomics, "Clump/Atomic[0]/Struct", Payload(f, "atomic 0 struct"), "uses frame 2 of 2");
  ExpectDamage(atomics, "Clump/Atomic[0]/Struct", Payload(f, "atomic 0 struct") + 4,
               "uses geometry 1 of 1");

  // Readers attach each frame to its parent while reading the list.
  f = Changed([](SampleClump& c) { c.frames[0].parent = 1; });
  ExpectDamage(Inspect(f.bytes), "Clump/FrameList/Struct", Payload(f, "frame list struct") + 4 + 48,
               "frame 0 names parent 1, which is not an earlier frame");
}

TEST(Damage, BinMeshTotals) {
  File f = Changed([](SampleClump& c) { c.geometries[0].splitTotal = 7; });
  ExpectDamage(Inspect(f.bytes), kGeometry + "/Extension/BinMesh", Payload(f, "bin mesh 0") + 8,
               "the splits hold 6 indices but the total says 7");

  f = Changed([](SampleClump& c) {
    c.geometries[0].splits[1].indices = {0, 2, 3, 0, 2, 3};
    c.geometries[0].splitTotal = 9;
  });
  const Inspection result = Inspect(f.bytes);
  ExpectDamage(result, kGeometry + "/Extension/BinMesh", Payload(f, "bin mesh 0") + 8,
               "a triangle list of 2 triangles needs 6 indices but the total says 9");
  EXPECT_EQ(result.findings.all().size(), 1u) << FindingsText(result);
}

TEST(Damage, TexturedFlagAndFormatWordMustAgreeWithTheData) {
  File f = Changed([](SampleClump& c) { c.geometries[0].materials[0].textured = 0; });
  ExpectDamage(Inspect(f.bytes), kGeometry + "/MaterialList/Material[0]/Texture", f.offsets.at("texture 0.0"),
               "marked untextured but holds a Texture");

  f = Changed([](SampleClump& c) { c.geometries[0].materials[1].textured = 1; });
  ExpectDamage(Inspect(f.bytes), kGeometry + "/MaterialList/Material[1]/Struct",
               Payload(f, "material 0.1 struct") + 12, "marked textured but holds no Texture");

  // The textured flags with no UV sets written: readers then take two sets.
  f = Changed([](SampleClump& c) {
    c.geometries[0].format = 0x000000F2;
    c.geometries[0].uvSets.clear();
  });
  ExpectDamage(Inspect(f.bytes), kGeometry + "/Struct", Payload(f, "geometry 0 struct"),
               "format word 0x000000F2 has a UV set count of 0");

  f = Changed([](SampleClump& c) {
    c.geometries[0].format = 0x00020076;
    c.geometries[0].uvSets.push_back(c.geometries[0].uvSets[0]);
  });
  const Inspection twoSets = Inspect(f.bytes);
  ExpectDamage(twoSets, kGeometry + "/Struct", Payload(f, "geometry 0 struct"),
               "needs TEXTURED (0x04) clear and TEXTURED2 (0x80) set");
  EXPECT_EQ(twoSets.findings.all().size(), 1u) << FindingsText(twoSets);
}

TEST(Damage, SizesThatDoNotAddUp) {
  File f = Changed([](SampleClump&) {});
  PatchU32(f, f.offsets.at("geometry 0 struct") + 4, 4000);
  ExpectDamage(Inspect(f.bytes), kGeometry + "/Struct", f.offsets.at("geometry 0 struct"),
               "declares 4000 payload bytes but only");

  // A Struct grown over the next chunk's header, so that the material list's
  // own Struct becomes a second one: readers stop at the record's last field.
  f = Changed([](SampleClump&) {});
  const std::size_t structEnd = Payload(f, "geometry 0 struct") + 16 + 32 + 16 + 24 + 48 + 48;
  PatchU32(f, f.offsets.at("geometry 0 struct") + 4, 16 + 32 + 16 + 24 + 48 + 48 + 12);
  ExpectDamage(Inspect(f.bytes), kGeometry + "/Struct[0]", structEnd, "12 bytes follow the record's last field");

  // A vertex count far beyond the record is reported where the data runs
  // out, without reserving memory for it.
  f = Changed([](SampleClump&) {});
  PatchU32(f, Payload(f, "geometry 0 struct") + 8, 0x40000000);
  ExpectDamage(Inspect(f.bytes), kGeometry + "/Struct", Payload(f, "geometry 0 struct") + 16,
               "the record ends before its UV sets");

  f = Changed([](SampleClump&) {});
  PatchU32(f, Payload(f, "frame list struct"), 0xFFFFFFFF);
  ExpectDamage(Inspect(f.bytes), "Clump/FrameList/Struct", Payload(f, "frame list struct") + 4,
               "the record ends before its frames");

  testing::Node clump = BuildClump(MakeSampleClump());
  testing::Node& geometry = clump.children.at(2).children.at(1);
  geometry.children.at(2).children.at(1).data.clear();  // GeometryExtra without its word
  geometry.children.at(1).children.at(1).children.at(2).children.at(1).data.resize(20);  // Reflection
  clump.children.at(1).children.at(1).trailer = {0, 0, 0, 0, 0};
  f = Serialise({clump});
  const Inspection result = Inspect(f.bytes);
  ExpectDamage(result, kGeometry + "/Extension/GeometryExtra", Payload(f, "extra 0"),
               "ends before its breakable flag");
  ExpectDamage(result, kGeometry + "/MaterialList/Material[0]/Extension/ReflectionMaterial",
               f.offsets.at("reflection 0.0"), "20 bytes long; its readers take 24");
  ExpectDamage(result, "Clump/FrameList/Extension[0]", f.offsets.at("frame list") + 12 + 128 + 12 + 12 + 13,
               "5 bytes at the end of the payload are too few for a chunk");
}

// Names and collision data longer than the game's buffers overwrite the
// memory after them.
TEST(Damage, RecordsLongerThanTheGamesBuffers) {
  File f = Changed([](SampleClump& c) {
    c.frames[1].name = "wheel_lf_dummy_01234567";  // 23 bytes: the longest the game keeps
    c.frames[0].name = "chassis_dummy_0123456789";  // 24
    c.geometries[0].materials[0].texture->name = std::string(31, 't');
    c.geometries[0].materials[0].environmentMap->name = std::string(32, 'e');
    c.geometries[0].materials[0].environmentMap->mask = std::string(40, 'm');
    c.collision = testing::Bytes(16385, 0);
  });
  const Inspection result = Inspect(f.bytes);
  ASSERT_EQ(result.findings.all().size(), 4u) << FindingsText(result);
  ExpectDamage(result, "Clump/FrameList/Extension[0]/FrameName",
               f.offsets.at("frame list") + 12 + 128 + 12, "is 24 bytes");
  const std::string effects = kGeometry + "/MaterialList/Material[0]/Extension/MaterialEffects";
  ExpectDamage(result, effects + "/Texture/String[0]", f.offsets.at("effects 0.0") + 12 + 20 + 12 + 16,
               "texture name \"" + std::string(32, 'e') + "\" is 32 bytes");
  ExpectDamage(result, effects + "/Texture/String[1]",
               f.offsets.at("effects 0.0") + 12 + 20 + 12 + 16 + 48, "mask name");
  ExpectDamage(result, "Clump/Extension/Collision", f.offsets.at("collision"), "16385 bytes");

  // The largest of each is sound.
  f = Changed([](SampleClump& c) {
    c.frames[0].name = std::string(23, 'f');
    c.geometries[0].materials[0].environmentMap->mask = std::string(31, 'm');
    c.collision = testing::Bytes(16384, 0);
  });
  const Inspection largest = Inspect(f.bytes);
  EXPECT_TRUE(largest.findings.all().empty()) << FindingsText(largest);
}

TEST(Warnings, TheGamesLimitsLeaveTheFileSound) {
  File f = Changed([](SampleClump& c) { c.geometries[0].sphere[3] = 0.5f; });
  const Inspection result = Inspect(f.bytes);
  EXPECT_TRUE(result.sound()) << FindingsText(result);
  ASSERT_EQ(result.findings.all().size(), 1u) << FindingsText(result);
  ExpectFinding(result, Severity::Warning, kGeometry + "/Struct",
                Payload(f, "geometry 0 struct") + 16 + 32 + 16, "leaves out vertex");

  f = Changed([](SampleClump& c) {
    testing::SampleGeometry& g = c.geometries[0];
    g.format = 0x00000012;
    g.uvSets.clear();
    g.triangles.clear();
    g.normals.clear();
    g.positions.assign(65536, {0, 0, 0});
    g.sphere = {0, 0, 0, 0};
    g.splits.clear();
    g.splitTotal = 0;
  });
  const Inspection large = Inspect(f.bytes);
  EXPECT_TRUE(large.sound()) << FindingsText(large);
  ExpectFinding(large, Severity::Warning, kGeometry + "/Struct", Payload(f, "geometry 0 struct") + 8,
                "65536 vertices");
}

}  // namespace
}  // namespace dffinfo
