#include "section/lod_name.h"

#include <cctype>
#include <cstdint>
#include <cstdio>

#include "section/section_limits.h"

namespace section {
namespace {

constexpr char kPrefix[] = "LOD";
constexpr std::size_t kKeptOfLongNames = 11;

// FNV-1a over the name in lower case, folded to 16 bits.
unsigned NameHash(const std::string& name) {
  std::uint32_t hash = 2166136261u;
  for (char c : name) {
    hash ^= static_cast<std::uint8_t>(std::tolower(static_cast<unsigned char>(c)));
    hash *= 16777619u;
  }
  return static_cast<unsigned>((hash >> 16) ^ (hash & 0xFFFFu));
}

}  // namespace

std::string GeneratedLodName(const std::string& model) {
  const std::string whole = kPrefix + model;
  if (whole.size() <= kMaxNameLength) return whole;
  char digits[8];
  std::snprintf(digits, sizeof digits, "_%04x", NameHash(model));
  return kPrefix + model.substr(0, kKeptOfLongNames) + digits;
}

}  // namespace section
