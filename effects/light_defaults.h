// What a LightWave light cannot say about the game's light: the values of
// the game's own street lamp (lamppost1.dff), which every light starts
// from before its own settings and its name's tags apply.
#pragma once

#include "dff/effects_2d.h"

namespace effects {

constexpr std::uint8_t kLampAlpha = 200;
constexpr float kLampCoronaFarClip = 100.0f;
// The lamp post's range; a light whose range Layout does not limit gets it.
constexpr float kLampRange = 12.0f;
constexpr float kLampCoronaSize = 2.5f;
constexpr float kLampShadowSize = 8.0f;
constexpr std::uint8_t kLampShadowColorMultiplier = 40;
constexpr char kLampCoronaTexture[] = "coronastar";
constexpr char kLampShadowTexture[] = "shad_exp";

// A white light of the lamp post: lit at night, in fog of the first kind,
// its height kept above the ground, looking straight up.
inline dff::LightEffect LampPostLight() {
  dff::LightEffect light;
  light.color = {255, 255, 255, kLampAlpha};
  light.coronaFarClip = kLampCoronaFarClip;
  light.pointLightRange = kLampRange;
  light.coronaSize = kLampCoronaSize;
  light.shadowSize = kLampShadowSize;
  light.coronaShowMode = 0;
  light.coronaReflection = 1;
  light.coronaFlareType = 0;
  light.shadowColorMultiplier = kLampShadowColorMultiplier;
  light.flags1 = dff::kLightFogType1 | dff::kLightAtNight;
  light.coronaTexture = kLampCoronaTexture;
  light.shadowTexture = kLampShadowTexture;
  light.shadowZDistance = 0;
  light.flags2 = dff::kLightUpdateHeight;
  light.lookDirection = {0, 0, 100};
  return light;
}

}  // namespace effects
