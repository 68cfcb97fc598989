// What an image's alpha channel holds, which decides its pixel format.
#pragma once

#include "pixels/rgba_image.h"

namespace pixels {

enum class AlphaKind {
  Opaque,  // every texel 255
  Binary,  // only 0 and 255: cut-outs, fences, grilles
  Smooth,  // anything in between: glass, smoke, soft edges
};

AlphaKind ClassifyAlpha(const RgbaImage& image);

// Sets every alpha to 255 or 0 around the midpoint, as 1-bit alpha stores
// it; resampling a cut-out leaves soft edges that must not decide on their
// own which texels show.
void ThresholdAlpha(RgbaImage& image);

// Sets every alpha to 255.
void MakeOpaque(RgbaImage& image);

// Takes the texture's alpha from a mask image of the same size: its grey
// level (the mean of R, G and B), as RenderWare makes masks of images.
void ApplyMask(RgbaImage& image, const RgbaImage& mask);

}  // namespace pixels
