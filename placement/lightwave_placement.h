// Where LightWave Layout puts an item's points, and the game's axes.
//
// Layout places a point p of an item, at rest, at
//   parent(R * Rpivot * S * (p - pivot) + position)
// for column vectors: scaling first, then the pivot rotation, then the
// rotation, each rotation built from heading, pitch and bank as `Rotation`
// says; `parent` is the same transform of the parent item, since a child's
// position is a point of its parent's object space.  Every command that
// places items, and the import that takes them back, use these functions.
#pragma once

#include <array>

namespace placement {

using Vec3 = std::array<double, 3>;
using Matrix3 = std::array<Vec3, 3>;  // rows; multiplies column vectors

// y = linear * x + translation.
struct Affine {
  Matrix3 linear{{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}};
  Vec3 translation{0, 0, 0};
};

// An item's motion parameters at one time, as Layout reports them.
struct ItemMotion {
  Vec3 position{0, 0, 0};       // in the parent's object space
  Vec3 rotation{0, 0, 0};       // heading, pitch, bank in radians
  Vec3 scaling{1, 1, 1};
  Vec3 pivot{0, 0, 0};
  Vec3 pivotRotation{0, 0, 0};  // heading, pitch, bank in radians
};

// Heading turns +z toward +x about +y, pitch +z toward -y about +x, bank
// +x toward +y about +z; bank applies first and heading last.
Matrix3 Rotation(const Vec3& headingPitchBank);

// R * Rpivot * S: the item's turn and scaling, about its pivot.
Matrix3 TurnAndScaling(const ItemMotion& motion);

// The inverse of TurnAndScaling for an item without pivot rotation: the
// heading, pitch and bank and the scaling whose R * S is `linear`.  A
// mirroring map (negative determinant) gets a negative x scaling.  At a
// pitch of +-90 degrees, where heading and bank turn about the same axis,
// bank is 0.
struct TurnAndScale {
  Vec3 rotation{0, 0, 0};
  Vec3 scaling{1, 1, 1};
};
TurnAndScale SplitTurnAndScaling(const Matrix3& linear);
// Heading, pitch and bank of a rotation matrix: Rotation's inverse.
Vec3 HeadingPitchBank(const Matrix3& rotation);

// From the item's object space into its parent's.
Affine ItemToParent(const ItemMotion& motion);

Matrix3 Multiply(const Matrix3& a, const Matrix3& b);
Vec3 Apply(const Matrix3& m, const Vec3& v);
Vec3 Apply(const Affine& transform, const Vec3& point);
// `outer` after `inner`.
Affine Compose(const Affine& outer, const Affine& inner);
Affine Translation(const Vec3& offset);

// Layout's (x, y, z) is the game's (-x, -z, y); the map is its own
// inverse's transpose, and a linear map A becomes C * A * C^T.
Vec3 ToGameAxes(const Vec3& layout);
Vec3 FromGameAxes(const Vec3& game);
Matrix3 ToGameAxes(const Matrix3& layout);
Affine ToGameAxes(const Affine& layout);
Matrix3 FromGameAxes(const Matrix3& game);

}  // namespace placement
