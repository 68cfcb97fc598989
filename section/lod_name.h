// The name of a LOD model the exporter builds for a model that has none.
//
// It is "LOD" followed by the model's name, the game's own naming, when
// that fits the 19 characters a name holds.  A longer model name keeps
// its first 11 characters, followed by '_' and four hexadecimal digits of
// a hash of the whole name without regard to case ("LOD" + 11 + 1 + 4 =
// 19): the same model is given the same name on every export, so the IDE
// keeps its ID, and two long names that begin alike still differ.  The
// caller checks the result against the section's other names, since two
// names may still share the digits.
#pragma once

#include <string>

namespace section {

std::string GeneratedLodName(const std::string& model);

}  // namespace section
