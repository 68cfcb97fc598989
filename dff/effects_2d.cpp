#include "dff/effects_2d.h"

#include "dff/chunk_writer.h"

namespace dff {
namespace {

void WriteName(OutputStream& stream, const std::string& name) {
  std::array<char, kEffectNameField> field{};
  name.copy(field.data(), kEffectNameField - 1);
  stream.WriteBytes(field.data(), field.size());
}

void WriteBytes(OutputStream& stream, std::initializer_list<std::uint8_t> bytes) {
  for (const std::uint8_t byte : bytes) stream.WriteBytes(&byte, 1);
}

void WriteLight(OutputStream& stream, const LightEffect& light) {
  stream.WriteBytes(light.color.data(), light.color.size());
  WriteF32(stream, light.coronaFarClip);
  WriteF32(stream, light.pointLightRange);
  WriteF32(stream, light.coronaSize);
  WriteF32(stream, light.shadowSize);
  WriteBytes(stream, {light.coronaShowMode, light.coronaReflection, light.coronaFlareType,
                      light.shadowColorMultiplier, light.flags1});
  WriteName(stream, light.coronaTexture);
  WriteName(stream, light.shadowTexture);
  WriteBytes(stream, {light.shadowZDistance, light.flags2});
  for (const std::int8_t axis : light.lookDirection) WriteBytes(stream, {static_cast<std::uint8_t>(axis)});
  WriteBytes(stream, {0, 0});  // padding to 80 bytes
}

}  // namespace

void Write2dEffects(OutputStream& stream, const std::vector<Effect2d>& effects) {
  WriteU32(stream, static_cast<std::uint32_t>(effects.size()));
  for (const Effect2d& effect : effects) {
    for (const float coordinate : effect.position) WriteF32(stream, coordinate);
    if (const auto* light = std::get_if<LightEffect>(&effect.body)) {
      WriteU32(stream, kEffectTypeLight);
      WriteU32(stream, kLightBodySize);
      WriteLight(stream, *light);
    } else {
      WriteU32(stream, kEffectTypeParticle);
      WriteU32(stream, kParticleBodySize);
      WriteName(stream, std::get<ParticleEffect>(effect.body).effectName);
    }
  }
}

}  // namespace dff
