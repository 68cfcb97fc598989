#include "effects/light_tags.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <optional>
#include <utility>

namespace effects {
namespace {

constexpr int kLastShowMode = 12;
constexpr std::uint8_t kDayAndNight = dff::kLightAtDay | dff::kLightAtNight;

std::string Lower(std::string_view text) {
  std::string lower(text);
  for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return lower;
}

bool IsSeparator(char c) { return c == ' ' || c == '\t' || c == ','; }

std::vector<std::string_view> SplitTags(std::string_view list) {
  std::vector<std::string_view> tags;
  std::size_t at = 0;
  while (at < list.size()) {
    while (at < list.size() && IsSeparator(list[at])) ++at;
    const std::size_t start = at;
    while (at < list.size() && !IsSeparator(list[at])) ++at;
    if (at > start) tags.push_back(list.substr(start, at - start));
  }
  return tags;
}

std::optional<double> Number(std::string_view text) {
  double value = 0.0;
  const char* end = text.data() + text.size();
  const auto [stop, error] = std::from_chars(text.data(), end, value);
  if (error != std::errc() || stop != end || !std::isfinite(value)) return std::nullopt;
  return value;
}

// Applies one tag; returns why it changed nothing, or an empty text.
class TagReader {
 public:
  TagReader(dff::LightEffect& light, LightTagResult& result) : light_(light), result_(result) {}

  std::string Apply(const std::string& key, const std::string& value, bool hasValue) {
    if (!hasValue) return ApplyWord(key);
    if (key == "corona") return Metres(value, light_.coronaSize);
    if (key == "far") return Metres(value, light_.coronaFarClip);
    if (key == "shadow") return Metres(value, light_.shadowSize);
    if (key == "range") {
      std::string why = Metres(value, light_.pointLightRange);
      result_.rangeSet = result_.rangeSet || why.empty();
      return why;
    }
    if (key == "shadowalpha") return Byte(value, 255, light_.shadowColorMultiplier);
    if (key == "show") return Byte(value, kLastShowMode, light_.coronaShowMode);
    if (key == "flare") return Flare(value);
    if (key == "coronatex") return Texture(value, light_.coronaTexture);
    if (key == "shadowtex") return Texture(value, light_.shadowTexture);
    return "is not a light setting";
  }

 private:
  std::string ApplyWord(const std::string& word) {
    static const std::pair<const char*, std::uint8_t> kShowModes[] = {
        {"random", 1}, {"warning", 6}, {"traffic", 7}, {"crossing", 8}, {"rain", 10}};
    for (const auto& [name, mode] : kShowModes) {
      if (word == name) {
        light_.coronaShowMode = mode;
        return {};
      }
    }
    if (word == "day") return When(dff::kLightAtDay);
    if (word == "night") return When(dff::kLightAtNight);
    if (word == "always") return When(kDayAndNight);
    if (word == "blink") light_.flags1 |= dff::kLightBlinking1;
    else if (word == "fastblink") light_.flags2 |= dff::kLightBlinking2;
    else if (word == "nocorona") light_.flags1 |= dff::kLightWithoutCorona;
    else if (word == "obstacles") light_.flags1 |= dff::kLightCheckObstacles;
    else if (word == "noreflect") light_.coronaReflection = 0;
    else return "is not a light setting";
    return {};
  }

  std::string When(std::uint8_t bits) {
    light_.flags1 = static_cast<std::uint8_t>((light_.flags1 & ~kDayAndNight) | bits);
    return {};
  }

  static std::string Metres(const std::string& value, float& field) {
    const std::optional<double> number = Number(value);
    if (!number || *number < 0 || *number > 1e6) return "needs a distance in metres from 0 to 1000000";
    field = static_cast<float>(*number);
    return {};
  }

  static std::string Byte(const std::string& value, int highest, std::uint8_t& field) {
    const std::optional<double> number = Number(value);
    if (!number || *number < 0 || *number > highest || std::floor(*number) != *number) {
      return "needs a whole number from 0 to " + std::to_string(highest);
    }
    field = static_cast<std::uint8_t>(*number);
    return {};
  }

  std::string Flare(const std::string& value) {
    static const char* const kFlares[] = {"none", "yellow", "white"};
    for (std::uint8_t type = 0; type < 3; ++type) {
      if (value == kFlares[type]) {
        light_.coronaFlareType = type;
        return {};
      }
    }
    return "needs none, yellow or white";
  }

  static std::string Texture(const std::string& value, std::string& field) {
    if (value.empty() || value.size() > dff::kEffectNameField - 1) return "needs a texture name of 1 to 23 characters";
    field = value;
    return {};
  }

  dff::LightEffect& light_;
  LightTagResult& result_;
};

}  // namespace

LightTagResult ApplyLightTags(std::string_view lightName, dff::LightEffect& light) {
  LightTagResult result;
  const std::size_t open = lightName.find('[');
  if (open == std::string_view::npos) return result;
  const std::size_t close = lightName.find(']', open);
  if (close == std::string_view::npos) {
    result.problems.push_back({std::string(lightName.substr(open)), "has no closing ']'; no tag was read"});
    return result;
  }
  TagReader reader(light, result);
  for (const std::string_view tag : SplitTags(lightName.substr(open + 1, close - open - 1))) {
    const std::size_t equals = tag.find('=');
    const bool hasValue = equals != std::string_view::npos;
    const std::string key = Lower(tag.substr(0, equals));
    // Texture names keep their case; every other value is a word or number.
    std::string value = hasValue ? std::string(tag.substr(equals + 1)) : std::string();
    if (key != "coronatex" && key != "shadowtex") value = Lower(value);
    std::string why = reader.Apply(key, value, hasValue);
    if (!why.empty()) result.problems.push_back({std::string(tag), std::move(why)});
  }
  return result;
}

}  // namespace effects
