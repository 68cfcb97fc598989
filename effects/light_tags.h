// The settings of a game light that Layout has no field for, written in
// the light's name: the name, then the settings in square brackets,
// separated by spaces or commas, e.g. "lamp [corona=1 flare=white traffic]".
//
//   corona=M      corona size in metres         far=M     corona far clip
//   range=M       point light range (wins over Layout's range)
//   shadow=M      ground shadow size, 0 for none
//   shadowalpha=N shadow colour multiplier 0-255
//   flare=none|yellow|white                     show=N    corona show mode 0-12
//   random, warning, traffic, crossing, rain    show modes 1, 6, 7, 8, 10
//   day, night, always                          when the light is on
//   blink, fastblink, nocorona, noreflect, obstacles
//   coronatex=NAME, shadowtex=NAME              textures of particle.txd
//
// Tags are not case-sensitive.  A tag that is not understood, or whose
// value is out of range, is reported and changes nothing.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "dff/effects_2d.h"

namespace effects {

struct TagProblem {
  std::string tag;
  std::string why;  // e.g. "is not a light setting"
};

// What the tags of `lightName` set.  Range is kept apart because Layout's
// own range applies unless a tag sets one.
struct LightTagResult {
  std::vector<TagProblem> problems;
  bool rangeSet = false;
};

// Applies the tags of `lightName`, if it has any, to `light`.
LightTagResult ApplyLightTags(std::string_view lightName, dff::LightEffect& light);

}  // namespace effects
