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

namespace {

std::uint32_t ReadU32(const std::vector<std::uint8_t>& bytes, std::size_t at) {
  std::uint32_t value = 0;
  for (std::size_t i = 0; i < 4; ++i) value |= static_cast<std::uint32_t>(bytes[at + i]) << (8 * i);
  return value;
}

}  // namespace

ImgRead ReadImgArchive(const std::vector<std::uint8_t>& bytes) {
  ImgRead read;
  if (bytes.size() < 8 || bytes[0] != 'V' || bytes[1] != 'E' || bytes[2] != 'R' || bytes[3] != '2') {
    read.problems.push_back("the file does not start with VER2, the header of a version 2 archive");
    return read;
  }
  const std::uint32_t count = ReadU32(bytes, 4);
  if (count > (bytes.size() - 8) / kEntryBytes) {
    read.problems.push_back("the directory lists " + std::to_string(count) + " entries, more than the file holds");
    return read;
  }
  const std::size_t firstData = Sectors(8 + kEntryBytes * count);
  const std::size_t fileSectors = Sectors(bytes.size());
  std::set<std::string> names;
  std::size_t end = firstData;
  for (std::uint32_t i = 0; i < count; ++i) {
    const std::size_t at = 8 + kEntryBytes * i;
    ImgDirectoryEntry entry;
    entry.offset = ReadU32(bytes, at);
    entry.size = static_cast<std::uint16_t>(bytes[at + 4] | bytes[at + 5] << 8);
    entry.sizeInArchive = static_cast<std::uint16_t>(bytes[at + 6] | bytes[at + 7] << 8);
    const auto* name = reinterpret_cast<const char*>(&bytes[at + 8]);
    std::size_t length = 0;
    while (length < kNameBytes && name[length] != '\0') ++length;
    entry.name.assign(name, length);
    const std::string what = "entry " + std::to_string(i) + " (\"" + entry.name + "\")";
    if (length == kNameBytes) read.problems.push_back(what + " has a name without its closing zero byte");
    const std::string nameProblem = ImgNameProblem(entry.name);
    if (!nameProblem.empty()) read.problems.push_back(what + ": " + nameProblem);
    if (!names.insert(Lower(entry.name)).second) read.problems.push_back(what + " repeats a name of an earlier entry");
    if (entry.sizeInArchive != 0) {
      read.problems.push_back(what + " has a second size of " + std::to_string(entry.sizeInArchive) +
                              ", which the game takes instead of the first and other readers misread");
    }
    if (entry.offset < firstData) {
      read.problems.push_back(what + " starts inside the directory");
    } else if (static_cast<std::size_t>(entry.offset) + entry.size > fileSectors) {
      read.problems.push_back(what + " runs past the end of the file");
    } else if (entry.offset < end) {
      read.problems.push_back(what + " overlaps the entry before it or comes before it in the file");
    }
    end = std::max(end, static_cast<std::size_t>(entry.offset) + entry.size);
    read.entries.push_back(entry);
  }
  return read;
}

std::vector<std::uint8_t> ImgEntryBytes(const std::vector<std::uint8_t>& archive, const ImgDirectoryEntry& entry) {
  const std::size_t begin = std::min(archive.size(), static_cast<std::size_t>(entry.offset) * kImgSector);
  const std::size_t end = std::min(archive.size(), begin + static_cast<std::size_t>(entry.size) * kImgSector);
  return std::vector<std::uint8_t>(archive.begin() + static_cast<std::ptrdiff_t>(begin),
                                   archive.begin() + static_cast<std::ptrdiff_t>(end));
}

}  // namespace section
