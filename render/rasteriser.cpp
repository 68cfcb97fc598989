#include "render/rasteriser.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <limits>

namespace render {
namespace {

constexpr std::int64_t kSubpixels = 256;        // per pixel, along each axis
constexpr std::int64_t kHalfPixel = kSubpixels / 2;
constexpr float kFarthest = 1048576.0f;         // pixels from the image

struct Point {
  std::int64_t x, y;
};

bool Snap(const RasterVertex& v, Point& p) {
  if (!(std::fabs(v.x) < kFarthest && std::fabs(v.y) < kFarthest)) return false;  // also NaN
  p.x = static_cast<std::int64_t>(std::floor(v.x * static_cast<float>(kSubpixels) + 0.5f));
  p.y = static_cast<std::int64_t>(std::floor(v.y * static_cast<float>(kSubpixels) + 0.5f));
  return true;
}

std::int64_t FloorDiv(std::int64_t n, std::int64_t d) { return n >= 0 ? n / d : -((-n + d - 1) / d); }

// The edge from p to q: positive on the triangle's side.  `threshold` is 0
// for a top or left edge (a centre on it is inside) and 1 otherwise.
struct Edge {
  std::int64_t stepX, stepY, threshold;  // the change per pixel rightwards and downwards
};

Edge MakeEdge(const Point& p, const Point& q) {
  const std::int64_t dx = q.x - p.x;
  const std::int64_t dy = q.y - p.y;
  const bool topOrLeft = (dy == 0 && dx > 0) || dy < 0;
  return {-dy * kSubpixels, dx * kSubpixels, topOrLeft ? 0 : 1};
}

// E(p -> q) at `at`, exactly.
std::int64_t EdgeValue(const Point& p, const Point& q, const Point& at) {
  return (q.x - p.x) * (at.y - p.y) - (q.y - p.y) * (at.x - p.x);
}

std::uint32_t TexelIndex(float coordinate, std::uint32_t size, bool clamp) {
  float scaled = std::floor(coordinate * static_cast<float>(size));
  if (!(std::fabs(scaled) < 1073741824.0f)) scaled = 0.0f;  // also NaN
  const auto i = static_cast<std::int64_t>(scaled);
  const auto n = static_cast<std::int64_t>(size);
  if (clamp) return static_cast<std::uint32_t>(std::clamp<std::int64_t>(i, 0, n - 1));
  return static_cast<std::uint32_t>(((i % n) + n) % n);
}

std::uint8_t ToByte(float value) { return static_cast<std::uint8_t>(std::min(255.0f, value + 0.5f)); }

struct Fragment {
  float r, g, b, a;  // 0 to 255
};

Fragment Shade(const Surface& s, float u, float v, const std::array<float, 4>& colour) {
  Fragment f{colour[0] * 255.0f, colour[1] * 255.0f, colour[2] * 255.0f, colour[3] * 255.0f};
  if (s.texture != nullptr) {
    const pixels::RgbaImage& image = s.texture->image;
    const std::uint8_t* t =
        image.texel(TexelIndex(u, image.width, s.clampU), TexelIndex(v, image.height, s.clampV));
    f = {colour[0] * t[0], colour[1] * t[1], colour[2] * t[2], colour[3] * t[3]};
  }
  return f;
}

void Store(const Surface& s, const Fragment& f, std::uint8_t* pixel) {
  if (s.coverage != Coverage::kBlended) {
    pixel[0] = ToByte(f.r), pixel[1] = ToByte(f.g), pixel[2] = ToByte(f.b), pixel[3] = 255;
    return;
  }
  const float share = f.a / 255.0f;
  const float keep = 1.0f - share;
  pixel[0] = ToByte(f.r * share + pixel[0] * keep);
  pixel[1] = ToByte(f.g * share + pixel[1] * keep);
  pixel[2] = ToByte(f.b * share + pixel[2] * keep);
}

template <typename Attribute>
float Blend(const RasterVertex& a, const RasterVertex& b, const RasterVertex& c, float wa, float wb, float wc,
            Attribute attribute) {
  return attribute(a) * wa + attribute(b) * wb + attribute(c) * wc;
}

}  // namespace

Canvas::Canvas(std::uint32_t width, std::uint32_t height, Rgba background)
    : colour(width, height), depth(std::size_t{width} * height, std::numeric_limits<float>::infinity()) {
  for (std::size_t i = 0; i < colour.texelCount(); ++i) {
    for (std::size_t k = 0; k < 4; ++k) colour.rgba[i * 4 + k] = background[k];
  }
}

void DrawTriangle(Canvas& canvas, const RasterVertex& a, const RasterVertex& b0, const RasterVertex& c0,
                  const Surface& surface) {
  Point pa, pb, pc;
  if (!Snap(a, pa) || !Snap(b0, pb) || !Snap(c0, pc)) return;
  // On the image, whose rows run downwards, a triangle that turns
  // counter-clockwise as seen has a negative signed area.
  const std::int64_t signedArea = EdgeValue(pa, pb, pc);
  if (signedArea >= 0) return;
  // Corners b and c swapped: the edge functions are then positive inside.
  const RasterVertex& b = c0;
  const RasterVertex& c = b0;
  std::swap(pb, pc);
  const std::int64_t area = -signedArea;

  const std::int64_t width = canvas.colour.width;
  const std::int64_t height = canvas.colour.height;
  const std::int64_t left = std::max<std::int64_t>(0, FloorDiv(std::min({pa.x, pb.x, pc.x}) - kHalfPixel + kSubpixels - 1, kSubpixels));
  const std::int64_t right = std::min<std::int64_t>(width - 1, FloorDiv(std::max({pa.x, pb.x, pc.x}) - kHalfPixel, kSubpixels));
  const std::int64_t top = std::max<std::int64_t>(0, FloorDiv(std::min({pa.y, pb.y, pc.y}) - kHalfPixel + kSubpixels - 1, kSubpixels));
  const std::int64_t bottom = std::min<std::int64_t>(height - 1, FloorDiv(std::max({pa.y, pb.y, pc.y}) - kHalfPixel, kSubpixels));
  if (left > right || top > bottom) return;

  // The edge opposite each corner gives that corner's weight.
  const Edge edges[3] = {MakeEdge(pb, pc), MakeEdge(pc, pa), MakeEdge(pa, pb)};
  const Point first{left * kSubpixels + kHalfPixel, top * kSubpixels + kHalfPixel};
  std::int64_t row[3] = {EdgeValue(pb, pc, first), EdgeValue(pc, pa, first), EdgeValue(pa, pb, first)};
  const float perArea = 1.0f / static_cast<float>(area);

  for (std::int64_t y = top; y <= bottom; ++y) {
    std::int64_t w[3] = {row[0], row[1], row[2]};
    std::uint8_t* pixel = canvas.colour.texel(static_cast<std::uint32_t>(left), static_cast<std::uint32_t>(y));
    float* depth = &canvas.depth[static_cast<std::size_t>(y * width + left)];
    for (std::int64_t x = left; x <= right; ++x, pixel += 4, ++depth) {
      if (w[0] >= edges[0].threshold && w[1] >= edges[1].threshold && w[2] >= edges[2].threshold) {
        const float wa = static_cast<float>(w[0]) * perArea;
        const float wb = static_cast<float>(w[1]) * perArea;
        const float wc = static_cast<float>(w[2]) * perArea;
        const float z = Blend(a, b, c, wa, wb, wc, [](const RasterVertex& v) { return v.depth; });
        if (z < *depth) {
          const float u = Blend(a, b, c, wa, wb, wc, [](const RasterVertex& v) { return v.u; });
          const float v = Blend(a, b, c, wa, wb, wc, [](const RasterVertex& r) { return r.v; });
          std::array<float, 4> colour;
          for (std::size_t k = 0; k < 4; ++k) {
            colour[k] = Blend(a, b, c, wa, wb, wc, [k](const RasterVertex& r) { return r.colour[k]; });
          }
          const Fragment f = Shade(surface, u, v, colour);
          if (surface.coverage == Coverage::kOpaque || f.a >= kAlphaReference) {
            Store(surface, f, pixel);
            *depth = z;
          }
        }
      }
      for (std::size_t k = 0; k < 3; ++k) w[k] += edges[k].stepX;
    }
    for (std::size_t k = 0; k < 3; ++k) row[k] += edges[k].stepY;
  }
}

}  // namespace render
