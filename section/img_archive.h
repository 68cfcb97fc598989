// The section's IMG archive, version 2: "VER2", the entry count, a 32-byte
// directory entry per file (offset and size in 2048-byte sectors, a second
// size of 0, a 24-byte name), then each file from a sector boundary,
// padded with zeros to whole sectors, in directory order.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace section {

constexpr std::size_t kImgSector = 2048;

struct ImgEntry {
  std::string name;  // "house.dff": at most 19 characters before the extension
  std::vector<std::uint8_t> bytes;
};

// Why the game cannot hold this entry name, or empty when it can.
std::string ImgNameProblem(const std::string& name);

// The whole archive.  Throws std::invalid_argument for a name the game
// cannot hold, two names that differ only by case, or a file over 65,535
// sectors.
std::vector<std::uint8_t> BuildImgArchive(const std::vector<ImgEntry>& entries);

struct ImgDirectoryEntry {
  std::string name;
  std::uint32_t offset = 0;  // sectors from the start of the file
  std::uint16_t size = 0;    // sectors
  std::uint16_t sizeInArchive = 0;
};

struct ImgRead {
  std::vector<ImgDirectoryEntry> entries;  // in directory order
  // What the game would misread or readers would reject, each naming the
  // entry; an unreadable header leaves `entries` empty.
  std::vector<std::string> problems;
};

// The directory of an archive and its checks: the VER2 header, every entry
// inside the file, after the directory and clear of the others, its second
// size 0, its name terminated, within the game's limit and unique without
// case.
ImgRead ReadImgArchive(const std::vector<std::uint8_t>& bytes);

// The bytes of an entry the directory lists inside the file, with their
// sector padding.
std::vector<std::uint8_t> ImgEntryBytes(const std::vector<std::uint8_t>& archive, const ImgDirectoryEntry& entry);

}  // namespace section
