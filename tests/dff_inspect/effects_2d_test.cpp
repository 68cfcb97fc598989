// The 2d effects record as the game and the common readers take it: the
// game's own lamp post entry reads back field by field and passes every
// check; a light of another size, a name without its zero, and a count
// that disagrees with the record are damage; an entry far from its model,
// a light of range 0 or black are warnings.
#include <gtest/gtest.h>

#include <string>

#include "dff_inspect/effect_names.h"
#include "dff_inspect/inspect.h"
#include "tests/dff_inspect/dff_builder.h"

namespace dffinfo {
namespace {

using testing::Bytes;
using testing::Payload;

const std::string kEffects = "Clump/GeometryList/Geometry[0]/Extension/2dEffects";

// lamppost1.dff's one entry, moved next to the sample geometry (bounding
// sphere centre (0.5, 0.5, 0), radius 0.7072).
struct LightEntry {
  float x = 0.5f, y = 0.5f, z = 0.5f;
  std::uint32_t size = 80;
  std::uint32_t colour = 0xC82291F9u;  // R 249 G 145 B 34 A 200, little-endian
  float range = 12.000001f;
  std::string coronaTexture = "coronastar";
};

void Name(Payload& p, const std::string& name) {
  std::string field = name;
  field.resize(24, '\0');
  p.Raw(field);
}

void Light(Payload& p, const LightEntry& e) {
  p.F32(e.x).F32(e.y).F32(e.z).U32(0).U32(e.size);
  p.U32(e.colour).F32(100.0f).F32(e.range).F32(2.5f).F32(8.0f);
  p.Raw(std::string("\x00\x01\x00\x28\x42", 5));
  Name(p, e.coronaTexture);
  Name(p, "shad_exp");
  p.Raw(std::string("\x00\x04", 2));
  // The 80-byte form: the look direction and the game's leftover bytes;
  // the 76-byte form: one pad byte.
  p.Raw(e.size == 80 ? std::string("\x00\x00\x64\x55\x52", 5) : std::string(1, '\0'));
}

Bytes Record(const std::vector<LightEntry>& lights, std::uint32_t count, const std::string& particle = "") {
  Payload p;
  p.U32(count);
  for (const LightEntry& light : lights) Light(p, light);
  if (!particle.empty()) {
    p.F32(0.5f).F32(0.5f).F32(0.0f).U32(1).U32(24);
    Name(p, particle);
  }
  return p.bytes();
}

Inspection InspectWith(const Bytes& effects) {
  testing::SampleClump model = testing::MakeSampleClump();
  model.geometries.at(0).effects2d = effects;
  return Inspect(testing::Serialise({testing::BuildClump(model)}).bytes);
}

std::string FindingsText(const Inspection& inspection) {
  std::string text;
  for (const Finding& f : inspection.findings.all()) text += Describe(f) + "\n";
  return text;
}

// Whether exactly one finding of `severity` names the record and holds `words`.
void ExpectOnly(const Inspection& result, Severity severity, const std::string& words) {
  ASSERT_EQ(result.findings.all().size(), 1u) << FindingsText(result);
  const Finding& finding = result.findings.all()[0];
  EXPECT_EQ(finding.severity, severity);
  EXPECT_EQ(finding.path, kEffects);
  EXPECT_NE(finding.message.find(words), std::string::npos) << finding.message;
}

TEST(Effects2d, TheGamesLampPostEntryReadsFieldByFieldAndPasses) {
  const Inspection result = InspectWith(Record({LightEntry{}}, 2, "fire"));
  EXPECT_TRUE(result.findings.all().empty()) << FindingsText(result);
  const Effects2dRecord& record = *result.clumps.at(0).geometries.at(0).effects;
  ASSERT_EQ(record.entries.size(), 2u);
  const Effect2dRecord& entry = record.entries[0];
  EXPECT_EQ(entry.position, (Vec3{0.5f, 0.5f, 0.5f}));
  EXPECT_EQ(entry.size, 80u);
  ASSERT_TRUE(entry.light);
  const LightEffectRecord& light = *entry.light;
  EXPECT_EQ(light.color, (Rgba{249, 145, 34, 200}));
  EXPECT_EQ(light.coronaFarClip, 100.0f);
  EXPECT_EQ(light.pointLightRange, 12.000001f);
  EXPECT_EQ(light.coronaSize, 2.5f);
  EXPECT_EQ(light.shadowSize, 8.0f);
  EXPECT_EQ(light.coronaShowMode, 0);
  EXPECT_EQ(light.coronaReflection, 1);
  EXPECT_EQ(light.coronaFlareType, 0);
  EXPECT_EQ(light.shadowColorMultiplier, 40);
  EXPECT_EQ(light.flags1, 0x42);
  EXPECT_EQ(light.coronaTexture, "coronastar");
  EXPECT_EQ(light.shadowTexture, "shad_exp");
  EXPECT_EQ(light.shadowZDistance, 0);
  EXPECT_EQ(light.flags2, 0x04);
  EXPECT_EQ(light.lookDirection, (std::array<std::int8_t, 3>{0, 0, 100}));
  EXPECT_EQ(LightFlagNames(light.flags1, light.flags2),
            (std::vector<std::string>{"fog type 1", "at night", "updates height above ground"}));
  EXPECT_EQ(record.entries[1].particle, "fire");

  // The 76-byte form has no look direction, and is read too.
  LightEntry shortForm;
  shortForm.size = 76;
  const Inspection shortRead = InspectWith(Record({shortForm}, 1));
  EXPECT_TRUE(shortRead.findings.all().empty()) << FindingsText(shortRead);
  EXPECT_FALSE(shortRead.clumps.at(0).geometries.at(0).effects->entries.at(0).light->lookDirection);
}

TEST(Effects2d, WhatLeavesTheGameReadingTheWrongBytesIsDamage) {
  LightEntry odd;
  odd.size = 76;
  Bytes bytes = Record({odd}, 1);
  // Declared 60 bytes: the entry's body is not a form the game reads.
  bytes[4 + 16] = 60;
  bytes.resize(4 + 20 + 60);
  ExpectOnly(InspectWith(bytes), Severity::Damage, "light of 60 bytes");

  LightEntry unterminated;
  unterminated.coronaTexture = std::string(24, 'c');
  ExpectOnly(InspectWith(Record({unterminated}, 1)), Severity::Damage, "no terminating zero");

  ExpectOnly(InspectWith(Record({LightEntry{}}, 2)), Severity::Damage, "counts 2 entries but its");
  ExpectOnly(InspectWith(Record({LightEntry{}, LightEntry{}}, 1)), Severity::Damage, "bytes follow them");
}

TEST(Effects2d, EntriesThatReadButMissTheirPurposeAreWarnings) {
  LightEntry far;
  far.x = 40.0f;
  ExpectOnly(InspectWith(Record({far}, 1)), Severity::Warning, "far outside its bounding sphere");

  LightEntry dark;
  dark.colour = 0xC8000000u;
  ExpectOnly(InspectWith(Record({dark}, 1)), Severity::Warning, "black light");

  LightEntry unlit;
  unlit.range = 0.0f;
  ExpectOnly(InspectWith(Record({unlit}, 1)), Severity::Warning, "range 0");
}

}  // namespace
}  // namespace dffinfo
