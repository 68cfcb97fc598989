#include "lightwave/lws_reader.h"

#include <charconv>
#include <cmath>
#include <cstddef>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "lightwave/load_error.h"

namespace host {
namespace {

constexpr double kRadiansPerDegree = 3.14159265358979323846 / 180.0;
constexpr int kOldestVersion = 2;
constexpr int kNewestVersion = 5;

struct Line {
  std::string_view text;  // without surrounding blanks
  int number = 0;
};

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r'; }

std::string_view Trim(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

// The first word and the rest of a line.
std::pair<std::string_view, std::string_view> SplitFirst(std::string_view text) {
  std::size_t end = 0;
  while (end < text.size() && !IsBlank(text[end])) ++end;
  return {text.substr(0, end), Trim(text.substr(end))};
}

std::vector<std::string_view> Words(std::string_view text) {
  std::vector<std::string_view> words;
  std::string_view rest = Trim(text);
  while (!rest.empty()) {
    auto [word, after] = SplitFirst(rest);
    words.push_back(word);
    rest = after;
  }
  return words;
}

bool IsHexId(std::string_view word) {
  if (word.size() != 8) return false;
  for (char c : word) {
    const bool hex = (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
    if (!hex) return false;
  }
  return true;
}

class LwsParser {
 public:
  LwsParser(std::string_view text, std::string fileName);
  LwsDocument Parse();

 private:
  [[noreturn]] void Fail(int line, const std::string& what) const;
  void ReadHeader();
  void ReadLine(const Line& line);
  void Declare(LwsItemKind kind, const Line& line, std::string_view rest);
  std::uint32_t DerivedId(LwsItem& item, const Line& line);
  std::optional<std::uint32_t> TakeBakedId(std::string_view& rest) const;
  LwsItem& Current(const Line& line, std::string_view keyword);
  void SetName(const Line& line, std::string_view keyword, LwsItemKind kind, std::string_view name);
  Envelope ReadEnvelopeBlock(const Line& open);
  bool ReadLightLine(const Line& line, std::string_view keyword, std::string_view rest);
  void ReadScalar(const Line& line, std::string_view rest, double& value);
  void SkipBlock(const Line& open);
  void SkipPlugin(const Line& open);
  void ReadInterimMotion(const Line& line);
  void ReadInterimBehaviors(const Line& line, std::string_view rest);
  EnvelopeKey ReadKey(const Line& line, const std::vector<std::string_view>& numbers, bool degrees) const;

  double Number(const Line& line, std::string_view word) const;
  int Integer(const Line& line, std::string_view word, int low, int high, const char* what) const;
  Vec3 Triple(const Line& line, std::string_view rest) const;
  std::optional<Line> NextLine();

  std::string fileName_;
  std::vector<Line> lines_;
  std::size_t next_ = 0;
  LwsDocument document_;
  int pendingChannel_ = -1;  // set by a Channel line, used by the envelope after it
  // Set by a light value given as "(envelope)": filled with the value at
  // time 0 of the envelope that follows.
  double* pendingValue_ = nullptr;
  int lastObject_ = -1;
  int objectCount_ = 0;
  int lightCount_ = 0;
  int cameraCount_ = 0;
  std::vector<int> boneCounts_;  // per item index of an object
};

LwsParser::LwsParser(std::string_view text, std::string fileName) : fileName_(std::move(fileName)) {
  int number = 1;
  std::size_t start = 0;
  while (start <= text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    const std::string_view raw = text.substr(start, end - start);
    if (raw.find('\0') != std::string_view::npos) {
      Fail(number, "the line holds a NUL byte; this is not a text scene file, or it is damaged");
    }
    lines_.push_back({Trim(raw), number++});
    start = end + 1;
  }
}

void LwsParser::Fail(int line, const std::string& what) const {
  throw LoadError(fileName_ + ":" + std::to_string(line) + ": " + what);
}

std::optional<Line> LwsParser::NextLine() {
  if (next_ >= lines_.size()) return std::nullopt;
  return lines_[next_++];
}

double LwsParser::Number(const Line& line, std::string_view word) const {
  double value = 0.0;
  const char* end = word.data() + word.size();
  const auto [stop, error] = std::from_chars(word.data(), end, value);
  if (error != std::errc() || stop != end || !std::isfinite(value)) {
    Fail(line.number, "'" + std::string(word) + "' is not a finite number");
  }
  return value;
}

int LwsParser::Integer(const Line& line, std::string_view word, int low, int high, const char* what) const {
  int value = 0;
  const char* end = word.data() + word.size();
  const auto [stop, error] = std::from_chars(word.data(), end, value);
  if (error != std::errc() || stop != end || value < low || value > high) {
    Fail(line.number, std::string(what) + " '" + std::string(word) + "' is not a whole number from " +
                          std::to_string(low) + " to " + std::to_string(high));
  }
  return value;
}

Vec3 LwsParser::Triple(const Line& line, std::string_view rest) const {
  const std::vector<std::string_view> words = Words(rest);
  if (words.size() < 3) Fail(line.number, "three numbers expected");
  return {Number(line, words[0]), Number(line, words[1]), Number(line, words[2])};
}

LwsDocument LwsParser::Parse() {
  ReadHeader();
  while (std::optional<Line> line = NextLine()) ReadLine(*line);
  return std::move(document_);
}

void LwsParser::ReadHeader() {
  const std::string_view magic = lines_[0].text;
  if (magic == "LWMO") Fail(1, "this is a LightWave motion file (LWMO), not a scene");
  if (magic != "LWSC") Fail(1, "not a LightWave scene file: it does not start with LWSC");
  next_ = 1;
  const std::optional<Line> version = NextLine();
  if (!version) Fail(1, "the scene version is missing");
  int value = 0;
  const char* end = version->text.data() + version->text.size();
  const auto [stop, error] = std::from_chars(version->text.data(), end, value);
  if (error != std::errc() || stop != end) Fail(version->number, "the scene version is not a number");
  if (value == 1) {
    Fail(version->number, "scene version 1 (LightWave 5 and older) is not read: its objects are LWOB files; "
                          "load and save the scene in LightWave 6 or later");
  }
  if (value < kOldestVersion || value > kNewestVersion) {
    Fail(version->number, "scene version " + std::to_string(value) + " is not read (versions 2 to 5 are)");
  }
  document_.version = value;
}

void LwsParser::ReadLine(const Line& line) {
  if (line.text.empty()) return;
  const auto [keyword, rest] = SplitFirst(line.text);
  const int channel = std::exchange(pendingChannel_, -1);
  double* const value = std::exchange(pendingValue_, nullptr);
  if (keyword.front() == '{') {
    const std::string_view name = Trim(line.text.substr(1));
    if (name != "Envelope" || (channel < 0 && value == nullptr)) return SkipBlock(line);
    Envelope envelope = ReadEnvelopeBlock(line);
    if (value != nullptr) *value = envelope.Evaluate(0.0);
    if (channel >= 0 && channel < kChannelCount) {
      document_.items.back().channels[static_cast<std::size_t>(channel)] = std::move(envelope);
    }
    return;
  }
  if (keyword.front() == '}') Fail(line.number, "a '}' that closes no block");
  if (keyword == "Plugin") return SkipPlugin(line);
  if (keyword == "LoadObjectLayer" || keyword == "LoadObject") return Declare(LwsItemKind::kObject, line, rest);
  if (keyword == "AddNullObject") return Declare(LwsItemKind::kNull, line, rest);
  if (keyword == "AddLight") return Declare(LwsItemKind::kLight, line, rest);
  if (keyword == "AddCamera") return Declare(LwsItemKind::kCamera, line, rest);
  if (keyword == "AddBone") return Declare(LwsItemKind::kBone, line, rest);
  if (keyword == "LightName") return SetName(line, keyword, LwsItemKind::kLight, rest);
  if (keyword == "CameraName") return SetName(line, keyword, LwsItemKind::kCamera, rest);
  if (keyword == "BoneName") return SetName(line, keyword, LwsItemKind::kBone, rest);
  if (keyword == "Channel") {
    Current(line, keyword);
    pendingChannel_ = Integer(line, rest, 0, 1 << 20, "the channel number");
    return;
  }
  if (keyword == "ObjectMotion" || keyword == "LightMotion" || keyword == "CameraMotion" ||
      keyword == "BoneMotion") {
    Current(line, keyword);
    if (document_.version == 2) ReadInterimMotion(line);
    return;
  }
  if (keyword == "Pre/PostBehavior") return ReadInterimBehaviors(line, rest);
  if (keyword == "ParentItem") {
    LwsItem& item = Current(line, keyword);
    if (!IsHexId(rest)) Fail(line.number, "ParentItem needs an item id of 8 hexadecimal digits");
    item.parentId = static_cast<std::uint32_t>(std::stoul(std::string(rest), nullptr, 16));
    item.parentLine = line.number;
    return;
  }
  if (keyword == "ParentObject") {
    LwsItem& item = Current(line, keyword);
    const int ordinal = Integer(line, rest, 0, 0x0FFFFFFF, "the parent object number");
    // Counts objects from 1; 0 means no parent.
    if (ordinal > 0) item.parentId = 0x10000000u | static_cast<std::uint32_t>(ordinal - 1);
    item.parentLine = line.number;
    return;
  }
  if (keyword == "PivotPosition" || keyword == "PivotPoint") {
    Current(line, keyword).pivot = Triple(line, rest);
    return;
  }
  if (keyword == "PivotRotation") {
    const Vec3 degrees = Triple(line, rest);
    Current(line, keyword).pivotRotation =
        Vec3{degrees[0] * kRadiansPerDegree, degrees[1] * kRadiansPerDegree, degrees[2] * kRadiansPerDegree};
    return;
  }
  if (ReadLightLine(line, keyword, rest)) return;
  // Everything else (render, lighting, display settings...) is not the
  // host's concern.
}

// The light properties the host serves; false for any other line.  They
// belong to the light declared last, and are ignored after other items.
bool LwsParser::ReadLightLine(const Line& line, std::string_view keyword, std::string_view rest) {
  const bool known = keyword == "LightType" || keyword == "LightColor" || keyword == "LightIntensity" ||
                     keyword == "LightFalloffType" || keyword == "LightRange";
  if (!known) return false;
  if (document_.items.empty() || document_.items.back().kind != LwsItemKind::kLight) return true;
  LwsLight& light = document_.items.back().light;
  if (keyword == "LightType") light.type = Integer(line, rest, 0, 1 << 20, "the light type");
  if (keyword == "LightFalloffType") light.falloff = Integer(line, rest, 0, 3, "the falloff type");
  // A colour that changes over time keeps Layout's white; its envelope
  // blocks are skipped as unknown blocks are.
  if (keyword == "LightColor" && SplitFirst(rest).first != "(envelope)") light.color = Triple(line, rest);
  if (keyword == "LightIntensity") ReadScalar(line, rest, light.intensity);
  if (keyword == "LightRange") ReadScalar(line, rest, light.range);
  return true;
}

// A number, or "(envelope)" and the envelope block on the next lines.
void LwsParser::ReadScalar(const Line& line, std::string_view rest, double& value) {
  if (rest == "(envelope)") {
    pendingValue_ = &value;
    return;
  }
  value = Number(line, SplitFirst(rest).first);
}

LwsItem& LwsParser::Current(const Line& line, std::string_view keyword) {
  if (document_.items.empty()) Fail(line.number, std::string(keyword) + " comes before any item");
  return document_.items.back();
}

void LwsParser::SetName(const Line& line, std::string_view keyword, LwsItemKind kind, std::string_view name) {
  LwsItem& item = Current(line, keyword);
  if (item.kind != kind) Fail(line.number, std::string(keyword) + " does not follow the item it names");
  item.name = std::string(name);
}

// Scenes from version 4 on write each item's id on its declaration line.
std::optional<std::uint32_t> LwsParser::TakeBakedId(std::string_view& rest) const {
  if (document_.version < 4) return std::nullopt;
  const auto [word, after] = SplitFirst(rest);
  if (!IsHexId(word)) return std::nullopt;
  rest = after;
  return static_cast<std::uint32_t>(std::stoul(std::string(word), nullptr, 16));
}

// The id Layout derives from an item's place: a type digit, then the
// item's ordinal among its kind (nulls count as objects); a bone has its
// ordinal within its object above the object's ordinal.
std::uint32_t LwsParser::DerivedId(LwsItem& item, const Line& line) {
  switch (item.kind) {
    case LwsItemKind::kObject:
    case LwsItemKind::kNull:
      lastObject_ = static_cast<int>(document_.items.size());
      return 0x10000000u | static_cast<std::uint32_t>(objectCount_++);
    case LwsItemKind::kLight: return 0x20000000u | static_cast<std::uint32_t>(lightCount_++);
    case LwsItemKind::kCamera: return 0x30000000u | static_cast<std::uint32_t>(cameraCount_++);
    case LwsItemKind::kBone: break;
  }
  if (lastObject_ < 0) Fail(line.number, "a bone comes before any object");
  item.owner = lastObject_;
  const auto owner = static_cast<std::size_t>(lastObject_);
  boneCounts_.resize(document_.items.size(), 0);
  const auto boneOrdinal = static_cast<std::uint32_t>(boneCounts_[owner]++ & 0xFFF);
  return 0x40000000u | boneOrdinal << 16 | (document_.items[owner].id & 0xFFFFu);
}

// Objects: "LoadObjectLayer <layer> [<id>] <path>" or "LoadObject [<id>]
// <path>"; the others: "<keyword> [<id>] [<name>]".
void LwsParser::Declare(LwsItemKind kind, const Line& line, std::string_view rest) {
  LwsItem item;
  item.kind = kind;
  item.line = line.number;
  if (kind == LwsItemKind::kObject) {
    const auto [keyword, afterKeyword] = SplitFirst(line.text);
    rest = afterKeyword;
    if (keyword == "LoadObjectLayer") {
      const auto [layer, afterLayer] = SplitFirst(rest);
      item.layer = Integer(line, layer, 1, 0x10000, "the layer number") - 1;
      rest = afterLayer;
    }
  }
  const std::uint32_t derivedId = DerivedId(item, line);
  item.id = TakeBakedId(rest).value_or(derivedId);
  switch (kind) {
    case LwsItemKind::kObject:
      if (rest.empty()) Fail(line.number, "the object's file path is missing");
      item.objectPath = std::string(rest);
      break;
    case LwsItemKind::kNull: item.name = rest.empty() ? "Null" : std::string(rest); break;
    case LwsItemKind::kLight: item.name = "Light"; break;
    case LwsItemKind::kCamera: item.name = "Camera"; break;
    case LwsItemKind::kBone: item.name = "Bone"; break;
  }
  document_.items.push_back(std::move(item));
}

EnvelopeKey LwsParser::ReadKey(const Line& line, const std::vector<std::string_view>& numbers,
                               bool degrees) const {
  EnvelopeKey key;
  key.value = Number(line, numbers[0]) * (degrees ? kRadiansPerDegree : 1.0);
  key.time = Number(line, numbers[1]);
  if (numbers.size() > 2) key.shape = static_cast<SpanShape>(Integer(line, numbers[2], 0, 5, "the span type"));
  for (std::size_t i = 3; i < numbers.size() && i - 3 < key.p.size(); ++i) key.p[i - 3] = Number(line, numbers[i]);
  return key;
}

// { Envelope
//   <key count>
//   Key <value> <time> <span type> <six curve parameters>
//   Behaviors <pre> <post>
// }
Envelope LwsParser::ReadEnvelopeBlock(const Line& open) {
  Envelope envelope;
  for (;;) {
    const std::optional<Line> line = NextLine();
    if (!line) Fail(open.number, "the Envelope block opened here is never closed");
    if (line->text.empty()) continue;
    const auto [keyword, rest] = SplitFirst(line->text);
    if (keyword.front() == '}') break;
    if (keyword.front() == '{') {
      SkipBlock(*line);
    } else if (keyword == "Key") {
      const std::vector<std::string_view> numbers = Words(rest);
      if (numbers.size() < 3) Fail(line->number, "a Key needs a value, a time and a span type");
      EnvelopeKey key = ReadKey(*line, numbers, false);
      if (!envelope.keys.empty() && key.time < envelope.keys.back().time) {
        Fail(line->number, "this key's time comes before the previous key's");
      }
      envelope.keys.push_back(key);
    } else if (keyword == "Behaviors") {
      const std::vector<std::string_view> words = Words(rest);
      if (words.size() < 2) Fail(line->number, "Behaviors needs two numbers");
      envelope.pre = static_cast<Behavior>(Integer(*line, words[0], 0, 5, "the behaviour"));
      envelope.post = static_cast<Behavior>(Integer(*line, words[1], 0, 5, "the behaviour"));
    }
  }
  return envelope;
}

void LwsParser::SkipBlock(const Line& open) {
  int depth = 1;
  while (depth > 0) {
    const std::optional<Line> line = NextLine();
    if (!line) Fail(open.number, "the block opened here is never closed");
    if (line->text.empty()) continue;
    if (line->text.front() == '{') ++depth;
    if (line->text.front() == '}') --depth;
  }
}

// Plug-in data is the plug-in's own text, braces and keywords included.
void LwsParser::SkipPlugin(const Line& open) {
  for (;;) {
    const std::optional<Line> line = NextLine();
    if (!line) Fail(open.number, "this Plugin has no EndPlugin");
    if (line->text == "EndPlugin") return;
  }
}

// Version 2 motion: the channel count, then per channel the key count and
// one line per key: value, time (seconds), span type, tension, continuity,
// bias.  Angles are in degrees.
void LwsParser::ReadInterimMotion(const Line& line) {
  LwsItem& item = document_.items.back();
  const std::optional<Line> countLine = NextLine();
  if (!countLine) Fail(line.number, "the motion has no channel count");
  const int channels = Integer(*countLine, countLine->text, 0, 64, "the channel count");
  for (int c = 0; c < channels; ++c) {
    const std::optional<Line> keysLine = NextLine();
    if (!keysLine) Fail(line.number, "the motion ends before all its channels");
    const int keys = Integer(*keysLine, keysLine->text, 0, 1 << 30, "the key count");
    Envelope envelope;
    for (int k = 0; k < keys; ++k) {
      const std::optional<Line> keyLine = NextLine();
      if (!keyLine) Fail(line.number, "the motion ends before all its keys");
      const std::vector<std::string_view> numbers = Words(keyLine->text);
      if (numbers.size() < 2) Fail(keyLine->number, "a key needs a value and a time");
      const bool angle = c >= 3 && c < 6;
      EnvelopeKey key = ReadKey(*keyLine, numbers, angle);
      if (!envelope.keys.empty() && key.time < envelope.keys.back().time) {
        Fail(keyLine->number, "this key's time comes before the previous key's");
      }
      envelope.keys.push_back(key);
    }
    if (c < kChannelCount) item.channels[static_cast<std::size_t>(c)] = std::move(envelope);
  }
}

// Version 2: a pre and a post behaviour per channel, in channel order.
void LwsParser::ReadInterimBehaviors(const Line& line, std::string_view rest) {
  LwsItem& item = Current(line, "Pre/PostBehavior");
  const std::vector<std::string_view> words = Words(rest);
  for (std::size_t c = 0; c < item.channels.size() && 2 * c + 1 < words.size(); ++c) {
    if (!item.channels[c]) continue;
    item.channels[c]->pre = static_cast<Behavior>(Integer(line, words[2 * c], 0, 5, "the behaviour"));
    item.channels[c]->post = static_cast<Behavior>(Integer(line, words[2 * c + 1], 0, 5, "the behaviour"));
  }
}

}  // namespace

LwsDocument ReadLws(std::string_view text, const std::string& fileName) {
  return LwsParser(text, fileName).Parse();
}

}  // namespace host
