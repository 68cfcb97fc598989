// The 2d effects record of a map object's geometry: lights, particles and
// the other effect types, each a header (position, type, body size) and a
// body.  The game reads a light only in its 76- or 80-byte form and reads
// the bodies of other types by their own size, so a light of another size,
// or a count that disagrees with the record's size, leaves it reading the
// wrong bytes.
#include <algorithm>
#include <cmath>
#include <string>

#include "dff_inspect/decoders.h"

namespace dffinfo {
namespace {

constexpr std::uint32_t kShortLightSize = 76;
constexpr std::uint32_t kLongLightSize = 80;
constexpr std::uint32_t kParticleSize = 24;
constexpr std::size_t kNameField = 24;
constexpr std::uint32_t kHeaderSize = 20;

std::string EntryName(std::size_t index) { return "entry " + std::to_string(index); }

// A 24-byte name field up to its first zero; damage when it has none.
std::string ReadName(ByteReader& reader, const Origin& origin, const std::string& what, Findings& findings) {
  const std::size_t offset = reader.offset();
  std::string field = reader.Text(kNameField);
  const std::size_t end = field.find('\0');
  if (end == std::string::npos) {
    findings.Damage(origin.path, offset,
                    what + " has no terminating zero within its 24 bytes; the game reads on into the bytes "
                           "after it");
    return field;
  }
  field.resize(end);
  return field;
}

LightEffectRecord ReadLight(ByteReader& reader, std::uint32_t size, const Origin& origin, std::size_t index,
                            Findings& findings) {
  LightEffectRecord light;
  for (std::uint8_t& channel : light.color) channel = reader.U8();
  light.coronaFarClip = reader.F32();
  light.pointLightRange = reader.F32();
  light.coronaSize = reader.F32();
  light.shadowSize = reader.F32();
  light.coronaShowMode = reader.U8();
  light.coronaReflection = reader.U8();
  light.coronaFlareType = reader.U8();
  light.shadowColorMultiplier = reader.U8();
  light.flags1 = reader.U8();
  light.coronaTexture = ReadName(reader, origin, EntryName(index) + "'s corona texture name", findings);
  light.shadowTexture = ReadName(reader, origin, EntryName(index) + "'s shadow texture name", findings);
  light.shadowZDistance = reader.U8();
  light.flags2 = reader.U8();
  if (size == kLongLightSize) {
    light.lookDirection = std::array<std::int8_t, 3>{};
    for (std::int8_t& axis : *light.lookDirection) axis = static_cast<std::int8_t>(reader.U8());
  }
  return light;
}

void DecodeBody(ByteReader& body, Effect2dRecord& entry, const Origin& origin, std::size_t index,
                Findings& findings) {
  if (entry.type == kEffect2dLight) {
    if (entry.size != kShortLightSize && entry.size != kLongLightSize) {
      findings.Damage(origin.path, entry.offset,
                      EntryName(index) + " is a light of " + std::to_string(entry.size) +
                          " bytes; the game reads a light only in its 76- or 80-byte form and loses its place "
                          "in the record");
      return;
    }
    entry.light = ReadLight(body, entry.size, origin, index, findings);
  } else if (entry.type == kEffect2dParticle) {
    if (entry.size != kParticleSize) {
      findings.Damage(origin.path, entry.offset,
                      EntryName(index) + " is a particle effect of " + std::to_string(entry.size) +
                          " bytes; the game reads 24 and loses its place in the record");
      return;
    }
    entry.particle = ReadName(body, origin, EntryName(index) + "'s effect name", findings);
  }
}

// Where the entries stand against the geometry, and lights that give no
// light: readable, but not what the modeller meant.
void JudgeEntries(const Effects2dRecord& record, const GeometryRecord& geometry, Findings& findings) {
  const MorphTarget* bounds = geometry.morphTargets.empty() ? nullptr : &geometry.morphTargets.front();
  for (std::size_t i = 0; i < record.entries.size(); ++i) {
    const Effect2dRecord& entry = record.entries[i];
    if (bounds != nullptr) {
      double squares = 0.0;
      for (std::size_t k = 0; k < 3; ++k) {
        const double d = static_cast<double>(entry.position[k]) - static_cast<double>(bounds->sphereCentre[k]);
        squares += d * d;
      }
      const double distance = std::sqrt(squares);
      const double radius = static_cast<double>(bounds->sphereRadius);
      // Lamps stand at the edge of their models; twice the radius, and at
      // least 2 m beyond it, is clearly elsewhere.
      if (!(distance <= radius + std::max(radius, 2.0))) {
        findings.Warn(record.origin.path, entry.offset,
                      EntryName(i) + " stands " + std::to_string(distance) +
                          " m from the centre of its geometry, far outside its bounding sphere (radius " +
                          std::to_string(radius) + " m); the game shows it away from the model");
      }
    }
    if (!entry.light) continue;
    const LightEffectRecord& light = *entry.light;
    if (!(light.pointLightRange > 0.0f)) {
      findings.Warn(record.origin.path, entry.offset, EntryName(i) + " is a light of range 0: it lights nothing");
    }
    if (light.color[0] == 0 && light.color[1] == 0 && light.color[2] == 0) {
      findings.Warn(record.origin.path, entry.offset, EntryName(i) + " is a black light: it shows nothing");
    }
  }
}

}  // namespace

Effects2dRecord DecodeEffects2d(ByteSpan file, const Chunk& chunk, const GeometryRecord& geometry,
                                Findings& findings) {
  Effects2dRecord record;
  record.origin = OriginOf(chunk);
  ByteReader reader = PayloadReader(file, chunk);
  if (!Need(reader, record.origin, "entry count", 1, 4, findings)) return record;
  record.count = reader.U32();
  for (std::uint32_t i = 0; i < record.count; ++i) {
    if (!reader.Has(kHeaderSize)) {
      findings.Damage(record.origin.path, reader.offset(),
                      "the record counts " + std::to_string(record.count) + " entries but its " +
                          std::to_string(chunk.size) + " bytes hold only " + std::to_string(i));
      break;
    }
    Effect2dRecord entry;
    entry.offset = reader.offset();
    for (float& coordinate : entry.position) coordinate = reader.F32();
    entry.type = reader.U32();
    entry.size = reader.U32();
    if (!Need(reader, record.origin, EntryName(i) + "'s body", 1, entry.size, findings)) break;
    ByteReader body(file, reader.offset(), entry.size);
    reader.Skip(entry.size);
    DecodeBody(body, entry, record.origin, i, findings);
    record.entries.push_back(std::move(entry));
  }
  if (record.entries.size() == record.count && reader.remaining() > 0) {
    findings.Damage(record.origin.path, reader.offset(),
                    "the record counts " + std::to_string(record.count) + " entries, but " +
                        std::to_string(reader.remaining()) + " bytes follow them");
  }
  JudgeEntries(record, geometry, findings);
  return record;
}

}  // namespace dffinfo
