#include "dff_inspect/decoders.h"

namespace dffinfo {
namespace {

using dff::ChunkType;
using dff::ToWord;

constexpr std::uint32_t kMaterialStructWithoutSurface = 16;
constexpr std::uint32_t kMaterialStructSize = 28;
constexpr std::uint32_t kReflectionSize = 24;
constexpr std::uint32_t kSpecularSize = 28;
constexpr std::size_t kSpecularNameField = 24;

// A String chunk's text: its bytes up to the first zero.
std::string ReadString(ByteSpan file, const Chunk& chunk) {
  ByteReader reader = PayloadReader(file, chunk);
  std::string text = reader.Text(chunk.size);
  return text.substr(0, text.find('\0'));
}

void DecodeMaterialStruct(ByteSpan file, const Chunk& structChunk, MaterialRecord& m,
                          Findings& findings) {
  m.structOrigin = OriginOf(structChunk);
  ByteReader reader = PayloadReader(file, structChunk);
  if (!Need(reader, m.structOrigin, "colour and texture flag", 1, kMaterialStructWithoutSurface,
            findings)) {
    return;
  }
  m.flags = reader.U32();
  for (std::uint8_t& channel : m.rgba) channel = reader.U8();
  m.unused = reader.U32();
  m.textured = reader.U32();
  // Old files end the record here; newer ones add the surface properties.
  if (reader.remaining() == 0) return;
  if (!Need(reader, m.structOrigin, "surface properties", 3, 4, findings)) return;
  m.surface = SurfaceProperties{reader.F32(), reader.F32(), reader.F32()};
  static_assert(kMaterialStructSize == kMaterialStructWithoutSurface + 12, "three floats follow");
  ExpectConsumed(reader, m.structOrigin, findings);
}

std::optional<TextureRecord> ReadEmbeddedTexture(ByteSpan file, ByteReader& reader,
                                                 const Chunk& effects, Findings& findings) {
  std::optional<Chunk> chunk =
      ParseEmbeddedChunk(file, reader.offset(), effects.end(), effects.path, findings);
  if (!chunk) return std::nullopt;
  reader.Skip(dff::kChunkHeaderSize + chunk->size);
  if (chunk->type != ToWord(ChunkType::Texture)) {
    findings.Damage(chunk->path, chunk->offset, "a Texture chunk was expected here");
    return std::nullopt;
  }
  return DecodeTexture(file, *chunk, findings);
}

// Reads a has-texture word and the Texture chunk that follows when it is set.
bool ReadOptionalTexture(ByteSpan file, ByteReader& reader, const Chunk& effects,
                         std::optional<TextureRecord>& texture, Findings& findings) {
  const bool present = reader.U32() != 0;
  if (reader.failed() || !present) return !reader.failed();
  texture = ReadEmbeddedTexture(file, reader, effects, findings);
  return texture.has_value();
}

bool ReadEffectSlot(ByteSpan file, ByteReader& reader, const Chunk& effects, EffectSlot& slot,
                    Findings& findings) {
  slot.type = reader.U32();
  switch (slot.type) {
    case kEffectNone:
    case kEffectUvTransform:
      return !reader.failed();
    case kEffectBumpMap:
      slot.coefficient = reader.F32();
      return ReadOptionalTexture(file, reader, effects, slot.bumpedTexture, findings) &&
             ReadOptionalTexture(file, reader, effects, slot.texture, findings);
    case kEffectEnvironmentMap:
      slot.coefficient = reader.F32();
      slot.frameBufferAlpha = reader.U32();
      return ReadOptionalTexture(file, reader, effects, slot.texture, findings);
    case kEffectDualPass:
      slot.sourceBlend = reader.U32();
      slot.destinationBlend = reader.U32();
      return ReadOptionalTexture(file, reader, effects, slot.texture, findings);
    default:
      findings.Damage(effects.path, reader.offset() - 4,
                      "unknown material effect " + std::to_string(slot.type));
      return false;
  }
}

MaterialEffectsRecord DecodeMaterialEffects(ByteSpan file, const Chunk& chunk,
                                            Findings& findings) {
  MaterialEffectsRecord effects;
  effects.origin = OriginOf(chunk);
  ByteReader reader = PayloadReader(file, chunk);
  effects.effectType = reader.U32();
  for (int i = 0; i < 2 && !reader.failed(); ++i) {
    EffectSlot slot;
    const std::size_t before = findings.all().size();
    const bool complete = ReadEffectSlot(file, reader, chunk, slot, findings);
    if (!complete) {
      if (findings.all().size() == before) {
        findings.Damage(chunk.path, reader.offset(), "the record ends inside its effect data");
      }
      return effects;
    }
    effects.slots.push_back(std::move(slot));
  }
  if (reader.failed()) {
    findings.Damage(chunk.path, chunk.offset, "the record ends inside its effect data");
    return effects;
  }
  ExpectConsumed(reader, effects.origin, findings);
  return effects;
}

ReflectionRecord DecodeReflection(ByteSpan file, const Chunk& chunk) {
  ReflectionRecord reflection;
  ByteReader reader = PayloadReader(file, chunk);
  for (float& value : reflection.values) value = reader.F32();
  return reflection;
}

SpecularRecord DecodeSpecular(ByteSpan file, const Chunk& chunk) {
  SpecularRecord specular;
  ByteReader reader = PayloadReader(file, chunk);
  specular.level = reader.F32();
  const std::string field = reader.Text(kSpecularNameField);
  specular.textureName = field.substr(0, field.find('\0'));
  return specular;
}

void DecodeMaterialExtension(ByteSpan file, const Chunk& extension, MaterialRecord& m,
                             Findings& findings) {
  for (const Chunk& plugin : extension.children) {
    if (plugin.type == ToWord(ChunkType::MaterialEffects)) {
      m.effects = DecodeMaterialEffects(file, plugin, findings);
    } else if (plugin.type == ToWord(ChunkType::ReflectionMaterial)) {
      // The game copies the declared size into a buffer of exactly this size.
      if (ExpectSize(plugin, kReflectionSize, findings)) m.reflection = DecodeReflection(file, plugin);
    } else if (plugin.type == ToWord(ChunkType::SpecularMaterial)) {
      if (ExpectSize(plugin, kSpecularSize, findings)) m.specular = DecodeSpecular(file, plugin);
    } else {
      m.otherPlugins.push_back(plugin.type);
    }
  }
}

}  // namespace

std::optional<TextureRecord> DecodeTexture(ByteSpan file, const Chunk& texture,
                                           Findings& findings) {
  TextureRecord record;
  record.origin = OriginOf(texture);
  ReadingOrder order(texture, findings);
  const Chunk* structChunk = order.Next(ChunkType::Struct);
  if (structChunk == nullptr) return std::nullopt;
  ByteReader reader = PayloadReader(file, *structChunk);
  if (!Need(reader, OriginOf(*structChunk), "filter word", 1, 4, findings)) return std::nullopt;
  record.filterWord = reader.U32();
  ExpectConsumed(reader, OriginOf(*structChunk), findings);

  const std::vector<const Chunk*> strings = ChildrenOfType(texture, ChunkType::String);
  if (strings.size() < 2) {
    findings.Damage(texture.path, texture.offset,
                    "the texture holds " + std::to_string(strings.size()) +
                        " String chunks; readers expect a name and a mask");
    return std::nullopt;
  }
  // The game reads the name, then the mask, after the Struct.
  const Chunk* name = order.Next(ChunkType::String);
  const Chunk* mask = order.Next(ChunkType::String);
  record.name = ReadString(file, *name);
  record.nameString = OriginOf(*name);
  record.mask = ReadString(file, *mask);
  record.maskString = OriginOf(*mask);
  order.Next(ChunkType::Extension);
  return record;
}

MaterialRecord DecodeMaterial(ByteSpan file, const Chunk& material, Findings& findings) {
  MaterialRecord m;
  m.origin = OriginOf(material);
  ReadingOrder order(material, findings);
  if (const Chunk* structChunk = order.Next(ChunkType::Struct)) {
    DecodeMaterialStruct(file, *structChunk, m, findings);
  }
  // The game looks for a Texture only when the Struct says there is one; a
  // missing one, or one where none is announced, is reported with the
  // other checks of the material.
  const Chunk* texture = FindChild(material, ChunkType::Texture);
  if (texture != nullptr && m.textured != 0) texture = order.Next(ChunkType::Texture);
  if (texture != nullptr) m.texture = DecodeTexture(file, *texture, findings);
  if (const Chunk* extension = order.Next(ChunkType::Extension)) {
    DecodeMaterialExtension(file, *extension, m, findings);
  }
  return m;
}

MaterialListRecord DecodeMaterialList(ByteSpan file, const Chunk& list, Findings& findings) {
  MaterialListRecord record;
  record.origin = OriginOf(list);
  const std::vector<const Chunk*> materials = ChildrenOfType(list, ChunkType::Material);
  for (const Chunk* material : materials) {
    record.materials.push_back(DecodeMaterial(file, *material, findings));
  }

  ReadingOrder order(list, findings);
  const Chunk* structChunk = order.Next(ChunkType::Struct);
  if (structChunk == nullptr) return record;
  const Origin origin = OriginOf(*structChunk);
  ByteReader reader = PayloadReader(file, *structChunk);
  if (!Need(reader, origin, "material count", 1, 4, findings)) return record;
  const std::uint32_t count = reader.U32();
  if (!Need(reader, origin, "material slots", count, 4, findings)) return record;
  record.slots.resize(count);
  std::size_t ownMaterials = 0;
  for (std::uint32_t i = 0; i < count; ++i) {
    const std::size_t at = reader.offset();
    const std::int32_t slot = reader.I32();
    record.slots[i] = slot;
    if (slot == -1) {
      ++ownMaterials;
    } else if (slot < 0 || static_cast<std::uint32_t>(slot) >= i) {
      findings.Damage(origin.path, at,
                      "material slot " + std::to_string(i) + " shares slot " +
                          std::to_string(slot) + ", which is not an earlier slot");
    }
  }
  ExpectConsumed(reader, origin, findings);
  for (std::size_t i = 0; i < ownMaterials && i < materials.size(); ++i) {
    order.Next(ChunkType::Material);
  }
  if (ownMaterials != materials.size()) {
    findings.Damage(list.path, list.offset,
                    "the material list has " + std::to_string(ownMaterials) +
                        " slots of their own (-1) but holds " + std::to_string(materials.size()) +
                        " Material chunks");
  }
  return record;
}

}  // namespace dffinfo

namespace dffinfo {

const EffectSlot* MaterialEffectsRecord::EnvironmentMap() const {
  for (const EffectSlot& slot : slots) {
    if (slot.type == kEffectEnvironmentMap) return &slot;
  }
  return nullptr;
}

}  // namespace dffinfo
