#include "pixels/resample.h"

#include <stdexcept>

#include "pixels/stb.h"

namespace pixels {

std::uint32_t PowerOfTwoSide(std::uint32_t side, std::uint32_t minimum, std::uint32_t maximum) {
  std::uint64_t lower = 1;
  while (lower * 2 <= side) lower *= 2;
  // Up when side / lower > upper / side, i.e. side^2 > 2 lower^2.
  std::uint64_t nearest = std::uint64_t{side} * side > 2 * lower * lower ? lower * 2 : lower;
  if (nearest < minimum) nearest = minimum;
  if (nearest > maximum) nearest = maximum;
  return static_cast<std::uint32_t>(nearest);
}

RgbaImage Resample(const RgbaImage& source, std::uint32_t width, std::uint32_t height) {
  if (source.width == width && source.height == height) return source;
  RgbaImage result(width, height);
  const int ok = stbir_resize_uint8_srgb_edgemode(
      source.rgba.data(), static_cast<int>(source.width), static_cast<int>(source.height), 0,
      result.rgba.data(), static_cast<int>(width), static_cast<int>(height), 0, 4, 3, 0,
      STBIR_EDGE_CLAMP);
  // The resampler fails only when it cannot allocate its work buffers.
  if (ok == 0) throw std::bad_alloc();
  return result;
}

}  // namespace pixels
