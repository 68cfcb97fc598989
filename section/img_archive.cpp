#include "section/img_archive.h"

#include <algorithm>
#include <cctype>
#include <set>
#include <stdexcept>

#include "section/section_limits.h"

namespace section {
namespace {

constexpr std::size_t kEntryBytes = 32;
constexpr std::size_t kNameBytes = 24;
constexpr std::size_t kMaxSectors = 0xFFFF;

std::size_t Sectors(std::size_t bytes) { return (bytes + kImgSector - 1) / kImgSector; }

void PutU32(std::vector<std::uint8_t>& out, std::size_t at, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) out[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(value >> (8 * i));
}

std::string Lower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

}  // namespace

std::string ImgNameProblem(const std::string& name) {
  const std::size_t dot = name.rfind('.');
  if (dot == std::string::npos || name.size() - dot != 4) return "\"" + name + "\" has no three-letter extension";
  if (dot > kMaxNameLength) {
    return "\"" + name + "\" is longer than the " + std::to_string(kMaxNameLength) +
           " characters before the extension that the game reads";
  }
  if (dot == 0) return "\"" + name + "\" has no name before its extension";
  for (char c : name) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte <= 0x20 || byte >= 0x7F || c == ',') return "\"" + name + "\" holds a space, comma or non-ASCII character";
  }
  return {};
}

std::vector<std::uint8_t> BuildImgArchive(const std::vector<ImgEntry>& entries) {
  std::set<std::string> names;
  for (const ImgEntry& entry : entries) {
    const std::string problem = ImgNameProblem(entry.name);
    if (!problem.empty()) throw std::invalid_argument(problem);
    if (!names.insert(Lower(entry.name)).second) {
      throw std::invalid_argument("two files of the archive are named \"" + entry.name + "\"");
    }
    if (Sectors(entry.bytes.size()) > kMaxSectors) {
      throw std::invalid_argument("\"" + entry.name + "\" is larger than the 128 MB a file of the archive holds");
    }
  }
  std::size_t sector = Sectors(8 + kEntryBytes * entries.size());
  std::size_t total = sector;
  for (const ImgEntry& entry : entries) total += Sectors(entry.bytes.size());
  std::vector<std::uint8_t> out(total * kImgSector, 0);
  out[0] = 'V';
  out[1] = 'E';
  out[2] = 'R';
  out[3] = '2';
  PutU32(out, 4, static_cast<std::uint32_t>(entries.size()));
  for (std::size_t i = 0; i < entries.size(); ++i) {
    const ImgEntry& entry = entries[i];
    const std::size_t at = 8 + kEntryBytes * i;
    const std::size_t sectors = Sectors(entry.bytes.size());
    PutU32(out, at, static_cast<std::uint32_t>(sector));
    out[at + 4] = static_cast<std::uint8_t>(sectors & 0xFF);
    out[at + 5] = static_cast<std::uint8_t>(sectors >> 8);
    for (std::size_t c = 0; c < entry.name.size() && c < kNameBytes - 1; ++c) {
      out[at + 8 + c] = static_cast<std::uint8_t>(entry.name[c]);
    }
    std::copy(entry.bytes.begin(), entry.bytes.end(), out.begin() + static_cast<std::ptrdiff_t>(sector * kImgSector));
    sector += sectors;
  }
  return out;
}

}  // namespace section
