// The name a frame carries in the file.
#pragma once

#include <string>

namespace scene {

// The frame name of an object item with polygons.  Layout names the items
// of a multi-layer object "base:layer" after the object file, so the base
// name of the file and one separator are dropped from the front of the item
// name, without comparing them.  An item name exactly as long as the base
// name gives the empty name; a shorter one, which cannot carry the base
// name at all, is kept whole.  A null file or item name counts as empty.
std::string MakeFrameName(const char* objectFileName, const char* itemName);

}  // namespace scene
