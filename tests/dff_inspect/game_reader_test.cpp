// The checks that follow the game's reader: each child is searched for in
// the game's order, the clump ends with its Extension, and plug-in records
// are the size the game's plug-ins read.  Every check fires on a clump made
// by hand to break it, naming the chunk and the offset.
#include <gtest/gtest.h>

#include <functional>
#include <utility>

#include "dff_inspect/inspect.h"
#include "tests/dff_inspect/dff_builder.h"

namespace dffinfo {
namespace {

using dff::ChunkType;
using testing::BuildClump;
using testing::Bytes;
using testing::File;
using testing::MakeSampleClump;
using testing::Node;
using testing::Payload;
using testing::Serialise;
using testing::Tagged;

const std::string kGeometry = "Clump/GeometryList/Geometry[0]";
const std::string kMaterial = kGeometry + "/MaterialList/Material[0]";

std::string FindingsText(const Inspection& inspection) {
  std::string text;
  for (const Finding& f : inspection.findings.all()) text += Describe(f) + "\n";
  return text;
}

// Whether the file is damaged with a finding at `path` and `offset` whose
// message holds `words`.
void ExpectDamage(const File& file, const std::string& path, std::size_t offset,
                  const std::string& words) {
  const Inspection result = Inspect(file.bytes);
  EXPECT_FALSE(result.sound());
  for (const Finding& f : result.findings.all()) {
    if (f.severity == Severity::Damage && f.path == path && f.offset == offset &&
        f.message.find(words) != std::string::npos) {
      return;
    }
  }
  ADD_FAILURE() << "expected \"" << words << "\" at " << path << " offset " << offset
                << "; found:\n"
                << FindingsText(result);
}

// The sample clump's tree after `change`, serialised.
File Changed(const std::function<void(Node&)>& change) {
  Node clump = BuildClump(MakeSampleClump());
  change(clump);
  return Serialise({clump});
}

// The sample clump's children: Struct, FrameList, GeometryList, Atomic,
// Extension.
Node& Atomic(Node& clump) { return clump.children.at(3); }
Node& Geometry(Node& clump) { return clump.children.at(2).children.at(1); }
Node& Material(Node& clump) { return Geometry(clump).children.at(1).children.at(1); }
Node& Texture(Node& clump) { return Material(clump).children.at(1); }

void Swap(Node& parent, std::size_t a, std::size_t b) {
  std::swap(parent.children.at(a), parent.children.at(b));
}

TEST(GameReader, TheSampleClumpIsSound) {
  const Inspection result = Inspect(Changed([](Node&) {}).bytes);
  EXPECT_TRUE(result.findings.all().empty()) << FindingsText(result);
}

TEST(GameReader, TheClumpMustEndWithItsExtension) {
  File f = Changed([](Node& clump) { clump.children.pop_back(); });
  ExpectDamage(f, "Clump", f.offsets.at("clump"),
               "the Clump holds no Extension after its Atomic; the game's reader looks for one "
               "there, so it finds the end of the clump instead and rejects the whole clump. "
               "Append an empty Extension");

  // An Extension before the atomics is passed before the game looks for it.
  f = Changed([](Node& clump) { Swap(clump, 3, 4); });
  ExpectDamage(f, "Clump/Extension", f.offsets.at("clump extension"),
               "the Extension comes before the Atomic");

  // What follows the Extension the game reads never reaches it.
  f = Changed([](Node& clump) {
    clump.children.push_back(Tagged(
        testing::Make(ChunkType::Extension, {}, {testing::Make(ChunkType::Collision, Bytes(8, 1))}),
        "second"));
  });
  ExpectDamage(f, "Clump/Extension[1]", f.offsets.at("second"), "never reads this chunk");
  const Inspection empty =
      Inspect(Changed([](Node& clump) { clump.children.push_back(testing::Make(ChunkType::Extension)); }).bytes);
  EXPECT_TRUE(empty.sound()) << FindingsText(empty);
  ASSERT_EQ(empty.findings.all().size(), 1u);
  EXPECT_EQ(empty.findings.all()[0].severity, Severity::Warning);
}

TEST(GameReader, EveryObjectNeedsItsStructAndExtensionInOrder) {
  File f = Changed([](Node& clump) { Geometry(clump).children.pop_back(); });
  ExpectDamage(f, kGeometry, f.offsets.at("geometry 0"),
               "the Geometry holds no Extension after its MaterialList; the game's reader looks "
               "for one there, so it searches on past the end of the Geometry");

  // The reader takes what it finds first and cannot go back for what it
  // passed on the way.
  f = Changed([](Node& clump) {
    Node& geometry = Geometry(clump);
    geometry.children.at(2) = Tagged(std::move(geometry.children.at(2)), "passed");
    Swap(geometry, 1, 2);
  });
  ExpectDamage(f, kGeometry + "/Extension", f.offsets.at("passed"),
               "the Extension comes before the MaterialList that the game's reader takes ahead "
               "of it; the reader never looks back");

  f = Changed([](Node& clump) {
    Node& material = Material(clump);
    material.children.at(2) = Tagged(std::move(material.children.at(2)), "passed");
    Swap(material, 0, 2);
  });
  ExpectDamage(f, kMaterial + "/Extension", f.offsets.at("passed"),
               "the Extension comes before the Struct");

  f = Changed([](Node& clump) { Texture(clump).children.pop_back(); });
  ExpectDamage(f, kMaterial + "/Texture", f.offsets.at("texture 0.0"),
               "the Texture holds no Extension after its String");

  // With the name before the Struct, the mask is taken for the name.
  f = Changed([](Node& clump) {
    Node& texture = Texture(clump);
    texture.children.at(1) = Tagged(std::move(texture.children.at(1)), "passed");
    Swap(texture, 0, 1);
  });
  ExpectDamage(f, kMaterial + "/Texture/String[0]", f.offsets.at("passed"),
               "the String comes before the String");

  f = Changed([](Node& clump) {
    Atomic(clump) = Tagged(std::move(Atomic(clump)), "atomic");
    Atomic(clump).children.pop_back();
  });
  ExpectDamage(f, "Clump/Atomic[0]", f.offsets.at("atomic"),
               "the Atomic holds no Extension after its Struct");

  f = Changed([](Node& clump) {
    Node& atomic = Atomic(clump);
    atomic.children.at(1) = Tagged(std::move(atomic.children.at(1)), "passed");
    Swap(atomic, 0, 1);
  });
  ExpectDamage(f, "Clump/Atomic[0]/Extension", f.offsets.at("passed"),
               "the Extension comes before the Struct");

  // Frames: the Struct first, then one Extension per frame.
  f = Changed([](Node& clump) {
    Node& frames = clump.children.at(1);
    frames.children.at(1) = Tagged(std::move(frames.children.at(1)), "passed");
    Swap(frames, 0, 1);
  });
  ExpectDamage(f, "Clump/FrameList/Extension[0]", f.offsets.at("passed"),
               "the Extension comes before the Extension");

  f = Changed([](Node& clump) {
    clump.children.at(2) = Tagged(std::move(clump.children.at(2)), "passed");
    Swap(clump, 1, 2);
  });
  ExpectDamage(f, "Clump/GeometryList", f.offsets.at("passed"),
               "the GeometryList comes before the FrameList that the game's reader takes ahead "
               "of it; the reader never looks back, so it finds the end of the clump instead");
}

TEST(GameReader, BreakableRecordsAreTheSizeTheGameReads) {
  // A zero flag is the whole record.
  File f = Changed([](Node& clump) {
    Geometry(clump).children.at(2).children.at(1).data = Payload().U32(0).U32(0).bytes();
  });
  ExpectDamage(f, kGeometry + "/Extension/GeometryExtra", f.offsets.at("extra 0"),
               "8 bytes long; its readers take 4");

  // With the flag set: 2 vertices, 1 triangle and 1 material need
  // 4 + 52 + 2 * 24 + 8 + 76 bytes.
  auto breakable = [](std::size_t extra) {
    Payload p;
    p.U32(1).U32(0).U16(2).U16(0).U32(0).U32(0).U32(0).U16(1).U16(0).U32(0).U32(0);
    p.U16(1).U16(0).U32(0).U32(0).U32(0).U32(0);
    Bytes bytes = p.bytes();
    bytes.resize(bytes.size() + 48 + 8 + 76 + extra, 0);
    return bytes;
  };
  const Inspection whole = Inspect(Changed([&](Node& clump) {
    Geometry(clump).children.at(2).children.at(1).data = breakable(0);
  }).bytes);
  EXPECT_TRUE(whole.findings.all().empty()) << FindingsText(whole);
  f = Changed([&](Node& clump) { Geometry(clump).children.at(2).children.at(1).data = breakable(4); });
  ExpectDamage(f, kGeometry + "/Extension/GeometryExtra", f.offsets.at("extra 0"),
               "the breakable record is 192 bytes long, but the game reads 188 for 2 vertices, "
               "1 triangles and 1 materials");
}

TEST(GameReader, PluginRecordsAreTheSizeTheGameReads) {
  // The atomic's MaterialEffects record is one word.
  File f = Changed([](Node& clump) {
    Node& record = Atomic(clump).children.at(1).children.at(1);
    record = Tagged(std::move(record), "atomic effects");
    record.data = Payload().U32(1).U32(0).bytes();
  });
  ExpectDamage(f, "Clump/Atomic[0]/Extension/MaterialEffects", f.offsets.at("atomic effects"),
               "8 bytes long; its readers take 4");

  // The material form ends after its second effect.
  f = Changed([](Node& clump) {
    Material(clump).children.at(2).children.at(0).trailer = Payload().U32(0).U32(0).bytes();
  });
  ExpectDamage(f, kMaterial + "/Extension/MaterialEffects",
               f.offsets.at("reflection 0.0") - 4, "4 bytes follow the record's last field");

  // The specular record is copied into a buffer of 28 bytes.
  f = Changed([](Node& clump) { Material(clump).children.at(2).children.at(2).data.resize(32); });
  ExpectDamage(f, kMaterial + "/Extension/SpecularMaterial", f.offsets.at("specular 0.0"),
               "32 bytes long; its readers take 28");
}

}  // namespace
}  // namespace dffinfo

namespace dffinfo {
namespace {

// The sample clump as a map object: prelit without normals, with `night`
// as its Extra Vert Colour record's payload.
File MapObject(std::optional<Bytes> night, std::uint8_t dayRed = 200) {
  testing::SampleClump model = MakeSampleClump();
  testing::SampleGeometry& g = model.geometries.at(0);
  g.format = (g.format & ~0x10u) | 0x08u;
  g.normals.clear();
  g.prelight.assign(g.positions.size(), {dayRed, 0, 0, 255});
  g.nightColors = std::move(night);
  return Serialise({BuildClump(model)});
}

Bytes NightRecord(std::size_t colours) {
  Payload p;
  p.U32(1);
  for (std::size_t i = 0; i < colours; ++i) p.U32(0xFF102030u);
  return p.bytes();
}

TEST(GameReader, DayAndNightColoursAreReadAsTheGameReadsThem) {
  const std::size_t vertices = MakeSampleClump().geometries.at(0).positions.size();
  const Inspection sound = Inspect(MapObject(NightRecord(vertices)).bytes);
  EXPECT_TRUE(sound.findings.all().empty()) << FindingsText(sound);
  const GeometryRecord& g = sound.clumps.at(0).geometries.at(0);
  ASSERT_EQ(g.prelight.size(), vertices);
  EXPECT_EQ(g.prelight[0], (Rgba{200, 0, 0, 255}));
  ASSERT_TRUE(g.nightColors);
  ASSERT_EQ(g.nightColors->colors.size(), vertices);
  EXPECT_EQ(g.nightColors->colors[0], (Rgba{0x30, 0x20, 0x10, 0xFF}));

  // One colour short: the game reads one per vertex anyway.
  File f = MapObject(NightRecord(vertices - 1));
  ExpectDamage(f, kGeometry + "/Extension/NightColours", f.offsets.at("night 0"),
               "the game reads " + std::to_string(4 + 4 * vertices));

  // Night colours on a geometry without day colours.
  f = Changed([&](Node& clump) {
    Geometry(clump).children.at(2).children.push_back(
        Tagged(testing::Make(ChunkType::NightColors, NightRecord(vertices)), "night"));
  });
  ExpectDamage(f, kGeometry + "/Extension/NightColours", f.offsets.at("night"), "no day colours (PRELIT clear)");

  // A flag of 0 carries no colours, whatever follows.
  EXPECT_TRUE(Inspect(MapObject(Payload().U32(0).bytes()).bytes).sound());
}

TEST(GameReader, BlackOrMissingDayColoursAreWarnedOf) {
  const Inspection black = Inspect(MapObject(std::nullopt, 0).bytes);
  EXPECT_TRUE(black.sound());
  ASSERT_EQ(black.findings.all().size(), 1u) << FindingsText(black);
  EXPECT_NE(black.findings.all()[0].message.find("black by day"), std::string::npos);

  const Inspection flat = Inspect(Changed([](Node& clump) {
                                    testing::SampleClump model = MakeSampleClump();
                                    model.geometries.at(0).format &= ~0x10u;
                                    model.geometries.at(0).normals.clear();
                                    clump = BuildClump(model);
                                  }).bytes);
  EXPECT_TRUE(flat.sound());
  ASSERT_EQ(flat.findings.all().size(), 1u) << FindingsText(flat);
  EXPECT_NE(flat.findings.all()[0].message.find("evenly bright"), std::string::npos);
}

}  // namespace
}  // namespace dffinfo
