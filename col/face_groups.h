// Face groups: runs of faces, each with the box that holds them, which let
// the game skip whole runs when a test misses their box.
#pragma once

#include <cstddef>
#include <vector>

#include "col/collision_model.h"

namespace col {

// Meshes of up to this many faces get no groups: collision editors start
// grouping above about 80 faces, and below that a test of every face costs
// little more than a test of every group box.
inline constexpr std::size_t kMaxFacesWithoutGroups = 80;

// The number of faces a group holds at most for a mesh of `faces` faces.
// A test that hits one group pays a box test per group and a face test per
// face of that group, about faces/s + s for groups of s faces, which is
// least at s = sqrt(faces); kept between 16 and 256.
std::size_t FacesPerGroup(std::size_t faces);

// Orders the mesh's faces so that each group holds faces that lie close
// together (halving the faces along the longest extent of their centres
// until a part fits in a group) and returns the groups in face order.
// Meshes of kMaxFacesWithoutGroups faces or fewer are left as they are,
// without groups.
std::vector<FaceGroup> GroupFaces(Mesh& mesh);

}  // namespace col
