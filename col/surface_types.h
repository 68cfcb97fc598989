// The game's 179 collision surface types (ids 0..178) and the rule that
// turns a modeller's surface name into one of them.
//
// Every program that writes collision resolves names here, so that a
// surface called "grass short lush" means the same in each of them.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace col {

inline constexpr int kSurfaceTypeCount = 179;
inline constexpr std::uint8_t kDefaultSurface = 0;

// The game's identifier of a surface type ("TARMAC", "GRASS_SHORT_LUSH",
// ...), as its data files spell it; nullptr for an id past 178.
const char* SurfaceTypeName(int id);

// The surface type a name stands for: the game's identifier with case
// ignored and spaces, hyphens and underscores alike ("Grass short-lush"),
// or a leading number 0..178 on its own or followed by a space, hyphen or
// underscore ("12", "12 grass").  Nothing for any other name: the game
// would take such a face as DEFAULT (0), which callers count for a warning.
std::optional<std::uint8_t> ResolveSurfaceName(std::string_view name);

}  // namespace col
