// The rotation an IPL line stores for an instance, as the game reads it.
//
// The game turns an instance by the conjugate of the stored quaternion
// (its matrix is built from (-x, -y, -z, w)), so an instance turned by the
// rotation q in the game's axes is written as conj(q).  When both |x| and
// |y| of the stored quaternion are at most 0.05 the game reads only its
// heading about z: a small tilt is lost.
#pragma once

#include "placement/lightwave_placement.h"

namespace section {

struct Quaternion {
  double x = 0;
  double y = 0;
  double z = 0;
  double w = 1;
};

// The unit quaternion of a rotation matrix (column vectors), w >= 0.
Quaternion QuaternionOf(const placement::Matrix3& rotation);

// What an IPL line stores for an instance turned by `rotation` (the
// game's axes, column vectors): the conjugate of its quaternion.
Quaternion StoredRotation(const placement::Matrix3& rotation);

// True when the game would read only the heading of `stored` although it
// holds a tilt.
bool GameDropsTilt(const Quaternion& stored);

// True when `m` turns without scaling, shearing or mirroring, within
// `tolerance` on each entry of m * m^T and on the determinant.
bool IsRotation(const placement::Matrix3& m, double tolerance);

}  // namespace section
