#include "render/view_camera.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace render {
namespace {

// The share of the image the model's larger extent fills.
constexpr float kFill = 0.9f;

struct Direction {
  View view;
  const char* name;
  Vec3 forward;  // need not be unit length
  Vec3 up;       // roughly up; made square to forward
};

// The three-quarter view looks from the model's front right, from above.
constexpr Direction kDirections[] = {
    {View::kFront, "front", {0, -1, 0}, {0, 0, 1}},
    {View::kBack, "back", {0, 1, 0}, {0, 0, 1}},
    {View::kLeft, "left", {1, 0, 0}, {0, 0, 1}},
    {View::kRight, "right", {-1, 0, 0}, {0, 0, 1}},
    {View::kTop, "top", {0, 0, -1}, {0, 1, 0}},
    {View::kThreeQuarter, "three-quarter", {-1, -1, -0.7f}, {0, 0, 1}},
};

float Dot(const Vec3& a, const Vec3& b) { return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]; }

Vec3 Cross(const Vec3& a, const Vec3& b) {
  return {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
}

// Only the square root, which every build rounds the same, is used here.
Vec3 Unit(const Vec3& v) {
  const float length = std::sqrt(Dot(v, v));
  return {v[0] / length, v[1] / length, v[2] / length};
}

const Direction& DirectionOf(View view) {
  for (const Direction& d : kDirections) {
    if (d.view == view) return d;
  }
  return kDirections[0];
}

}  // namespace

const char* ViewName(View view) { return DirectionOf(view).name; }

bool ParseView(const std::string& name, View& view) {
  for (const Direction& d : kDirections) {
    if (name == d.name) {
      view = d.view;
      return true;
    }
  }
  return false;
}

float Camera::ImageX(const Vec3& p) const { return halfWidth + (Dot(p, right) - centreRight) * scale; }
float Camera::ImageY(const Vec3& p) const { return halfHeight - (Dot(p, up) - centreUp) * scale; }
float Camera::Depth(const Vec3& p) const { return Dot(p, forward); }

Camera FrameModel(const ModelScene& scene, View view, std::uint32_t width, std::uint32_t height) {
  const Direction& direction = DirectionOf(view);
  Camera camera;
  camera.forward = Unit(direction.forward);
  const float along = Dot(direction.up, camera.forward);
  camera.up = Unit({direction.up[0] - along * camera.forward[0], direction.up[1] - along * camera.forward[1],
                    direction.up[2] - along * camera.forward[2]});
  // right x up = -forward: the camera's axes turn the way the world's do.
  camera.right = Cross(camera.forward, camera.up);
  camera.halfWidth = static_cast<float>(width) / 2.0f;
  camera.halfHeight = static_cast<float>(height) / 2.0f;

  float low[2] = {std::numeric_limits<float>::max(), std::numeric_limits<float>::max()};
  float high[2] = {std::numeric_limits<float>::lowest(), std::numeric_limits<float>::lowest()};
  for (const SceneVertex& v : scene.vertices) {
    const float across[2] = {Dot(v.position, camera.right), Dot(v.position, camera.up)};
    if (!std::isfinite(across[0]) || !std::isfinite(across[1])) continue;
    for (std::size_t k = 0; k < 2; ++k) low[k] = std::min(low[k], across[k]), high[k] = std::max(high[k], across[k]);
  }
  if (low[0] > high[0]) return camera;  // nothing to frame
  camera.centreRight = low[0] / 2.0f + high[0] / 2.0f;
  camera.centreUp = low[1] / 2.0f + high[1] / 2.0f;
  const float extentRight = high[0] / 2.0f - low[0] / 2.0f;
  const float extentUp = high[1] / 2.0f - low[1] / 2.0f;
  const float fit = std::min(camera.halfWidth / std::max(extentRight, 1e-6f),
                             camera.halfHeight / std::max(extentUp, 1e-6f));
  camera.scale = fit * kFill;
  return camera;
}

}  // namespace render
