#include "effects/particle_name.h"

#include <cctype>

namespace effects {
namespace {

constexpr std::string_view kPrefix = "fx_";

// " (12)" at the end of the name: Layout's number for a repeated name.
std::string_view WithoutRepeatNumber(std::string_view name) {
  if (name.size() < 4 || name.back() != ')') return name;
  std::size_t at = name.size() - 1;
  while (at > 0 && std::isdigit(static_cast<unsigned char>(name[at - 1])) != 0) --at;
  if (at == name.size() - 1 || at < 2 || name[at - 1] != '(' || name[at - 2] != ' ') return name;
  return name.substr(0, at - 2);
}

}  // namespace

std::optional<std::string> ParticleEffectName(std::string_view itemName) {
  if (itemName.size() <= kPrefix.size()) return std::nullopt;
  for (std::size_t i = 0; i < kPrefix.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(itemName[i])) != kPrefix[i]) return std::nullopt;
  }
  const std::string_view effect = WithoutRepeatNumber(itemName.substr(kPrefix.size()));
  if (effect.empty()) return std::nullopt;
  return std::string(effect);
}

}  // namespace effects
