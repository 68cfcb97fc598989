// What the game holds of a map section: model IDs, names, instances of one
// text IPL, the world's extent and the draw distances it honours.
#pragma once

#include <cstddef>

namespace section {

// Model IDs run from 0 to 19,999; the game's own models end at 18,630, so
// a first export starts just above them (SA-MP clients use 18,631 and up
// for their own objects: a section meant for SA-MP needs --first-id).
constexpr int kHighestModelId = 19999;
constexpr int kDefaultFirstId = 18631;

// Names live in 24-byte fields and IMG entries keep a dot at index 20 at
// most, so a model, TXD or COL name holds 19 characters.
constexpr std::size_t kMaxNameLength = 19;

// One text IPL holds at most this many instances.
constexpr std::size_t kMaxTextIplInstances = 1000;

// The world runs from -3,000 m to +3,000 m east and north.
constexpr double kWorldEdge = 3000.0;

// The game keeps a stored tilt only when |x| or |y| of the quaternion
// exceeds this; otherwise it reads the heading alone.
constexpr double kTiltKeptAbove = 0.05;

// Draw distances: the game reads a distance below 4 as another line form,
// and treats a model seen from beyond 300 m as a low-detail stand-in.
constexpr double kMinDrawDistance = 4.0;
constexpr double kMaxDetailDrawDistance = 299.0;

}  // namespace section
