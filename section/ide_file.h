// The section's IDE file: one `objs` line per model (ID, model, TXD, draw
// distance, flags).  The IDE beside the output is read back on the next
// export, so the IDs, draw distances and flags a user edited there stay.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace section {

// IDE flag bits the exporter sets.
constexpr std::uint32_t kFlagDrawLast = 0x4;
constexpr std::uint32_t kFlagNoDynamicShadows = 0x80;

struct IdeObject {
  int id = 0;
  std::string model;
  std::string txd;
  double drawDistance = 0;
  std::uint32_t flags = 0;
};

struct IdeRead {
  std::vector<IdeObject> objects;
  // What makes the file unusable, naming the line; empty when it was read.
  std::string error;
};

// The `objs` lines of an IDE file's text; other sections are passed over.
IdeRead ReadIdeObjects(const std::string& text);

// One `objs` section with a line per object, comma-separated.
std::string WriteIde(const std::vector<IdeObject>& objects);

}  // namespace section
