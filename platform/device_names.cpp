#include "platform/device_names.h"

#include <array>
#include <cctype>

#include "platform/path_rules.h"

namespace platform {
namespace {

std::string Lower(std::string_view text) {
  std::string lower(text);
  for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return lower;
}

bool IsDevice(const std::string& base) {
  static const std::array<const char*, 6> kNames = {"con", "prn", "aux", "nul", "conin$", "conout$"};
  for (const char* name : kNames) {
    if (base == name) return true;
  }
  if (base.size() < 4 || (base.compare(0, 3, "com") != 0 && base.compare(0, 3, "lpt") != 0)) return false;
  const std::string number = base.substr(3);
  // The digits, and the superscripts one, two and three in UTF-8 and in
  // the Windows code pages.
  static const std::array<const char*, 6> kSuperscripts = {"\xC2\xB9", "\xC2\xB2", "\xC2\xB3", "\xB9", "\xB2", "\xB3"};
  if (number.size() == 1 && std::isdigit(static_cast<unsigned char>(number[0]))) return true;
  for (const char* superscript : kSuperscripts) {
    if (number == superscript) return true;
  }
  return false;
}

// The name without the '_' in front of it.
std::string_view WithoutLeadingUnderscores(std::string_view name) {
  const std::size_t first = name.find_first_not_of('_');
  return first == std::string_view::npos ? std::string_view() : name.substr(first);
}

}  // namespace

bool NamesDevice(std::string_view fileName) {
  std::string_view base = fileName.substr(0, fileName.find('.'));
  const std::size_t end = base.find_last_not_of(' ');
  base = end == std::string_view::npos ? std::string_view() : base.substr(0, end + 1);
  return IsDevice(Lower(base));
}

std::string DeviceSafeStem(std::string_view name) {
  if (NamesDevice(WithoutLeadingUnderscores(name))) return "_" + std::string(name);
  return std::string(name);
}

std::string NameOfStem(std::string_view stem) {
  if (!stem.empty() && stem[0] == '_' && NamesDevice(WithoutLeadingUnderscores(stem))) {
    return std::string(stem.substr(1));
  }
  return std::string(stem);
}

std::string TextureNameOfImage(std::string_view imageName) { return NameOfStem(RemoveExtension(imageName)); }

}  // namespace platform
