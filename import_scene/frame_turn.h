// An item's heading, pitch, bank and scaling from its frame's matrix.
#pragma once

#include <array>

#include "import/import_model.h"
#include "placement/lightwave_placement.h"

namespace import_scene {

// The turn and scaling whose matrix, as the export computes it and rounds
// it to single precision, is the frame's: first the exact inverse in double
// precision; where one of the nine values then rounds to its neighbour (the
// frame holds rounded values, so the inverse is off by a fraction of their
// last place), a small search moves the angles and scalings until every
// value rounds as stored, if it can.
placement::TurnAndScale FrameTurn(const std::array<import::Vec3, 3>& rows);

// The item motion that stands for a frame: its turn and scaling as
// FrameTurn gives them, its position in Layout's axes, its pivot at its
// origin.  The scene's items carry it, and an object loaded whole places
// each layer's points by it.
placement::ItemMotion FrameMotion(const import::Frame& frame);

}  // namespace import_scene
