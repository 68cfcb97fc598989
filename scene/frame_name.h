// The name a frame carries in the file.
#pragma once

#include <cstddef>
#include <string>

#include "platform/host_path.h"

namespace scene {

// The frame name of an object item with polygons.  Layout names the item
// of one layer of a multi-layer object "base:layer" after the object file,
// and such a frame takes the layer's part, clone number included.  Any
// other item name, a single-layer object's ("door_lf", "box (2)") or one
// the user gave, is the frame's name as it stands.  A null file or item
// name counts as empty.
std::string MakeFrameName(const char* objectFileName, const char* itemName);

// The game keeps a frame's name in a 24-byte slot with its terminator and
// copies the record's bytes into it without a bound, so longer names
// overwrite the memory after the slot.
constexpr std::size_t kMaxFrameNameBytes = 23;

// `name` cut to its first kMaxFrameNameBytes bytes.  In UTF-8 text the cut
// moves back to the start of the character it would split, so the name
// may come out shorter.  Shorter names are returned unchanged.
std::string FitFrameName(const std::string& name, platform::TextEncoding encoding);

}  // namespace scene
