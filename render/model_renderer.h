// Draws a laid-out model into an image: the game's view of it by day or by
// night, on a plain background.
#pragma once

#include <cstdint>

#include "pixels/rgba_image.h"
#include "render/model_scene.h"
#include "render/view_camera.h"

namespace render {

enum class TimeOfDay { kDay, kNight };

// Where no surface is drawn.
constexpr Rgba kBackground{92, 100, 112, 255};

// The views of a sheet, left to right; its top row is by day, its bottom
// row by night.
constexpr View kSheetViews[] = {View::kThreeQuarter, View::kLeft, View::kBack};

// One view of `scene`, `size` pixels square.  Prelit vertices take their
// day or night colours; other vertices are lit from their normals by a
// light above and to the left of the camera, dimmer by night.  Each
// vertex's colour is multiplied by its material's colour and texel (white
// where the material has no texture or the dictionary lacks it).  Opaque
// and alpha-tested triangles are drawn first, in file order; blended ones
// (translucent material, texture or vertex colours) after them, farthest
// first.
pixels::RgbaImage RenderModel(const ModelScene& scene, View view, TimeOfDay time, std::uint32_t size);

// The views of kSheetViews by day over the same by night, each `cellSize`
// pixels square.
pixels::RgbaImage RenderSheet(const ModelScene& scene, std::uint32_t cellSize);

}  // namespace render
