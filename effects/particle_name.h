// Which nulls are particle effects: a null named "fx_<effect>", where
// <effect> is the name of one of the game's particle systems (effects.fxp:
// "fire", "smoke30lit", "prt_spark"...).  The prefix is not case-sensitive;
// Layout's " (2)" that tells apart nulls of one name is not part of the
// effect's name.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace effects {

// The effect named by a null's item name, or nothing when the name is not
// of the form "fx_<effect>".
std::optional<std::string> ParticleEffectName(std::string_view itemName);

}  // namespace effects
