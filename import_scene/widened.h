// A game vector of single-precision values as the double-precision one the
// placement functions take.
#pragma once

#include "import/import_model.h"
#include "placement/lightwave_placement.h"

namespace import_scene {

inline placement::Vec3 Widened(const import::Vec3& v) {
  return {static_cast<double>(v[0]), static_cast<double>(v[1]), static_cast<double>(v[2])};
}

}  // namespace import_scene
