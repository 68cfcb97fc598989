#include "col/face_groups.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

namespace col {
namespace {

using Centre = std::array<float, 3>;

Centre CentreOf(const Face& face, const std::vector<PackedVertex>& vertices) {
  Centre centre{};
  for (std::uint16_t index : {face.a, face.b, face.c}) {
    for (std::size_t axis = 0; axis < 3; ++axis) centre[axis] += vertices[index][axis];
  }
  return centre;  // three times the centroid, which orders the same
}

std::size_t LongestAxis(const std::vector<std::size_t>& order, std::size_t begin, std::size_t end,
                const std::vector<Centre>& centres) {
  Centre low, high;
  low.fill(std::numeric_limits<float>::max());
  high.fill(std::numeric_limits<float>::lowest());
  for (std::size_t i = begin; i < end; ++i) {
    for (std::size_t axis = 0; axis < 3; ++axis) {
      low[axis] = std::min(low[axis], centres[order[i]][axis]);
      high[axis] = std::max(high[axis], centres[order[i]][axis]);
    }
  }
  std::size_t longest = 0;
  for (std::size_t axis = 1; axis < 3; ++axis) {
    if (high[axis] - low[axis] > high[longest] - low[longest]) longest = axis;
  }
  return longest;
}

// Splits [begin, end) of `order` into parts of at most `limit` faces,
// appending each part's end to `ends` in order.  The depth is about
// log2(faces / limit), so the recursion stays shallow.
void Split(std::vector<std::size_t>& order, std::size_t begin, std::size_t end, std::size_t limit,
           const std::vector<Centre>& centres, std::vector<std::size_t>& ends) {
  if (end - begin <= limit) {
    ends.push_back(end);
    return;
  }
  const std::size_t axis = LongestAxis(order, begin, end, centres);
  const std::size_t middle = begin + (end - begin) / 2;
  std::nth_element(order.begin() + static_cast<std::ptrdiff_t>(begin),
                   order.begin() + static_cast<std::ptrdiff_t>(middle),
                   order.begin() + static_cast<std::ptrdiff_t>(end),
                   [&](std::size_t x, std::size_t y) { return centres[x][axis] < centres[y][axis]; });
  Split(order, begin, middle, limit, centres, ends);
  Split(order, middle, end, limit, centres, ends);
}

FaceGroup GroupOf(const Mesh& mesh, std::size_t first, std::size_t last) {
  FaceGroup group;
  group.first = static_cast<std::uint16_t>(first);
  group.last = static_cast<std::uint16_t>(last);
  group.min.fill(std::numeric_limits<float>::max());
  group.max.fill(std::numeric_limits<float>::lowest());
  for (std::size_t f = first; f <= last; ++f) {
    const Face& face = mesh.faces[f];
    for (std::uint16_t index : {face.a, face.b, face.c}) {
      for (std::size_t axis = 0; axis < 3; ++axis) {
        // Exact: a 16-bit value over 128 is a float without rounding.
        const float metres = static_cast<float>(mesh.vertices[index][axis] / kUnitsPerMetre);
        group.min[axis] = std::min(group.min[axis], metres);
        group.max[axis] = std::max(group.max[axis], metres);
      }
    }
  }
  return group;
}

}  // namespace

std::size_t FacesPerGroup(std::size_t faces) {
  const auto root = static_cast<std::size_t>(std::lround(std::sqrt(static_cast<double>(faces))));
  return std::clamp<std::size_t>(root, 16, 256);
}

std::vector<FaceGroup> GroupFaces(Mesh& mesh) {
  const std::size_t count = mesh.faces.size();
  if (count <= kMaxFacesWithoutGroups) return {};
  std::vector<Centre> centres(count);
  std::vector<std::size_t> order(count);
  for (std::size_t i = 0; i < count; ++i) {
    centres[i] = CentreOf(mesh.faces[i], mesh.vertices);
    order[i] = i;
  }
  std::vector<std::size_t> ends;
  Split(order, 0, count, FacesPerGroup(count), centres, ends);

  std::vector<Face> ordered(count);
  for (std::size_t i = 0; i < count; ++i) ordered[i] = mesh.faces[order[i]];
  mesh.faces = std::move(ordered);

  std::vector<FaceGroup> groups;
  groups.reserve(ends.size());
  std::size_t first = 0;
  for (std::size_t end : ends) {
    groups.push_back(GroupOf(mesh, first, end - 1));
    first = end;
  }
  return groups;
}

}  // namespace col
