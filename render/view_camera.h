// The camera that frames a model: an orthographic view along one of a few
// fixed directions, scaled so that the model's extent across the view fills
// most of the image.  Directions are the game's axes: Z up, and a model's
// front facing +Y, the way the game's vehicles face.
#pragma once

#include <cstdint>
#include <string>

#include "render/model_scene.h"

namespace render {

enum class View { kFront, kBack, kLeft, kRight, kTop, kThreeQuarter };

// "front", "back", "left", "right", "top", "three-quarter".
const char* ViewName(View view);
bool ParseView(const std::string& name, View& view);

struct Camera {
  Vec3 right{};    // image x grows along it
  Vec3 up{};       // image y grows against it (rows run top to bottom)
  Vec3 forward{};  // from the camera into the picture; depth grows along it
  float centreRight = 0.0f;  // the model's middle along right and up
  float centreUp = 0.0f;
  float scale = 1.0f;        // pixels per metre
  float halfWidth = 0.0f;
  float halfHeight = 0.0f;

  float ImageX(const Vec3& p) const;
  float ImageY(const Vec3& p) const;
  float Depth(const Vec3& p) const;
};

// A camera along `view` that shows every finite vertex of `scene` in an
// image of `width` x `height` pixels, with a margin.
Camera FrameModel(const ModelScene& scene, View view, std::uint32_t width, std::uint32_t height);

}  // namespace render
