// The 2d effects of a geometry as the game stores them: the entries of the
// record that ends a map object's geometry Extension, each a position in
// the geometry's space, a type and a body.  Lights (type 0) are written in
// the 80-byte form the game's own lamps use, particles (type 1) as the
// effect's name.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <variant>
#include <vector>

#include "dff/output_stream.h"

namespace dff {

constexpr std::uint32_t kEffectTypeLight = 0;
constexpr std::uint32_t kEffectTypeParticle = 1;
constexpr std::uint32_t kLightBodySize = 80;
constexpr std::uint32_t kParticleBodySize = 24;
constexpr std::uint32_t kEffectHeaderSize = 20;
// Texture and effect names: 23 characters and the terminating zero.
constexpr std::size_t kEffectNameField = 24;

// flags1 of a light.
constexpr std::uint8_t kLightCheckObstacles = 0x01;
constexpr std::uint8_t kLightFogType1 = 0x02;
constexpr std::uint8_t kLightFogType2 = 0x04;
constexpr std::uint8_t kLightWithoutCorona = 0x08;
constexpr std::uint8_t kLightCoronaOnlyFar = 0x10;
constexpr std::uint8_t kLightAtDay = 0x20;
constexpr std::uint8_t kLightAtNight = 0x40;
constexpr std::uint8_t kLightBlinking1 = 0x80;
// flags2 of a light.
constexpr std::uint8_t kLightCoronaOnlyFromBelow = 0x01;
constexpr std::uint8_t kLightBlinking2 = 0x02;
constexpr std::uint8_t kLightUpdateHeight = 0x04;
constexpr std::uint8_t kLightCheckDirection = 0x08;
constexpr std::uint8_t kLightBlinking3 = 0x10;

struct LightEffect {
  std::array<std::uint8_t, 4> color{};  // R G B A
  float coronaFarClip = 0.0f;
  float pointLightRange = 0.0f;
  float coronaSize = 0.0f;
  float shadowSize = 0.0f;
  std::uint8_t coronaShowMode = 0;
  std::uint8_t coronaReflection = 0;
  std::uint8_t coronaFlareType = 0;
  std::uint8_t shadowColorMultiplier = 0;
  std::uint8_t flags1 = 0;
  std::string coronaTexture;  // at most 23 characters
  std::string shadowTexture;  // at most 23 characters
  std::uint8_t shadowZDistance = 0;
  std::uint8_t flags2 = 0;
  std::array<std::int8_t, 3> lookDirection{};
};

struct ParticleEffect {
  std::string effectName;  // at most 23 characters
};

struct Effect2d {
  std::array<float, 3> position{};  // in the geometry's space
  std::variant<LightEffect, ParticleEffect> body;
};

// The record's payload: the entry count, then each entry's header and body.
// Names are written zero-padded to their fields; longer names are the
// builder's error and are cut here rather than overrun their field.
void Write2dEffects(OutputStream& stream, const std::vector<Effect2d>& effects);

}  // namespace dff
