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

}  // namespace section
