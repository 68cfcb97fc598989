// Fills triangles into a colour and depth buffer.
//
// Corners are snapped to 1/256 of a pixel and the covered pixels found with
// integer edge functions, so which pixels a triangle covers is exact and
// the same in every build; a pixel is covered when its centre lies inside,
// and a centre on an edge belongs to the triangle on the edge's top or left
// side only, so that triangles sharing an edge never draw a pixel twice.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "pixels/rgba_image.h"
#include "render/model_scene.h"

namespace render {

struct RasterVertex {
  float x = 0.0f;  // pixels from the image's left edge
  float y = 0.0f;  // pixels from the image's top edge
  float depth = 0.0f;  // nearer is smaller
  float u = 0.0f;
  float v = 0.0f;
  std::array<float, 4> colour{1.0f, 1.0f, 1.0f, 1.0f};  // RGBA, 0 to 1
};

// What a triangle's pixels take from its material.
struct Surface {
  const Texture* texture = nullptr;
  bool clampU = false;
  bool clampV = false;
  Coverage coverage = Coverage::kOpaque;
};

// A fragment whose alpha (of 255) is below this leaves colour and depth as
// they are: the alpha test of both alpha-tested and blended surfaces.
constexpr float kAlphaReference = 2.0f;

struct Canvas {
  Canvas(std::uint32_t width, std::uint32_t height, Rgba background);
  pixels::RgbaImage colour;
  std::vector<float> depth;  // per pixel; what is drawn must be nearer
};

// Draws the triangle (a, b, c) if it faces the viewer, which it does when
// its corners run counter-clockwise on the image (its right-hand normal
// points out of the picture); other triangles, and those without area, are
// culled.  A corner farther than a million pixels from the image leaves the
// triangle out.
void DrawTriangle(Canvas& canvas, const RasterVertex& a, const RasterVertex& b, const RasterVertex& c,
                  const Surface& surface);

}  // namespace render
