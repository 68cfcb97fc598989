#include "render/model_renderer.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <limits>
#include <vector>

#include "render/rasteriser.h"

namespace render {
namespace {

struct Light {
  float ambient;
  float diffuse;
};
constexpr Light kDaylight{0.45f, 0.55f};
constexpr Light kMoonlight{0.2f, 0.3f};

// Towards the light: from behind the camera, above it and to its left.
Vec3 LightDirection(const Camera& camera) {
  Vec3 d;
  for (std::size_t k = 0; k < 3; ++k) {
    d[k] = -0.7f * camera.forward[k] + 0.55f * camera.up[k] - 0.45f * camera.right[k];
  }
  const float length = std::sqrt(d[0] * d[0] + d[1] * d[1] + d[2] * d[2]);
  return {d[0] / length, d[1] / length, d[2] / length};
}

std::array<float, 4> VertexColour(const SceneVertex& v, TimeOfDay time, const Vec3& toLight) {
  if (v.prelit) {
    const Rgba& c = time == TimeOfDay::kDay ? v.day : v.night;
    return {c[0] / 255.0f, c[1] / 255.0f, c[2] / 255.0f, c[3] / 255.0f};
  }
  const Light light = time == TimeOfDay::kDay ? kDaylight : kMoonlight;
  const float facing = v.normal[0] * toLight[0] + v.normal[1] * toLight[1] + v.normal[2] * toLight[2];
  const float level = light.ambient + light.diffuse * std::max(0.0f, facing);
  return {level, level, level, 1.0f};
}

std::vector<RasterVertex> Project(const ModelScene& scene, const Camera& camera, TimeOfDay time) {
  const Vec3 toLight = LightDirection(camera);
  std::vector<RasterVertex> projected(scene.vertices.size());
  for (std::size_t i = 0; i < scene.vertices.size(); ++i) {
    const SceneVertex& v = scene.vertices[i];
    RasterVertex& r = projected[i];
    r.x = camera.ImageX(v.position);
    r.y = camera.ImageY(v.position);
    r.depth = camera.Depth(v.position);
    r.u = v.uv[0];
    r.v = v.uv[1];
    r.colour = VertexColour(v, time, toLight);
  }
  return projected;
}

struct Corners {
  RasterVertex a, b, c;
};

Corners Tinted(const std::vector<RasterVertex>& projected, const SceneTriangle& t, const SceneMaterial& m) {
  Corners corners{projected[t.a], projected[t.b], projected[t.c]};
  for (RasterVertex* corner : {&corners.a, &corners.b, &corners.c}) {
    for (std::size_t k = 0; k < 4; ++k) corner->colour[k] *= m.colour[k] / 255.0f;
  }
  return corners;
}

Surface SurfaceOf(const SceneMaterial& m, const Corners& corners) {
  Surface surface{m.texture, m.clampU, m.clampV, m.coverage};
  const bool translucentCorner =
      corners.a.colour[3] < 1.0f || corners.b.colour[3] < 1.0f || corners.c.colour[3] < 1.0f;
  if (translucentCorner) surface.coverage = Coverage::kBlended;
  return surface;
}

struct Deferred {
  float depth;  // of the triangle's middle
  std::uint32_t triangle;
};

void Draw(const ModelScene& scene, const Camera& camera, TimeOfDay time, Canvas& canvas) {
  const std::vector<RasterVertex> projected = Project(scene, camera, time);
  std::vector<Deferred> blended;
  for (std::size_t i = 0; i < scene.triangles.size(); ++i) {
    const SceneTriangle& t = scene.triangles[i];
    const Corners corners = Tinted(projected, t, scene.materials[t.material]);
    const Surface surface = SurfaceOf(scene.materials[t.material], corners);
    if (surface.coverage == Coverage::kBlended) {
      const float middle = corners.a.depth / 3.0f + corners.b.depth / 3.0f + corners.c.depth / 3.0f;
      // A depth past float's range cannot be ordered; such a triangle is drawn first.
      blended.push_back({std::isfinite(middle) ? middle : std::numeric_limits<float>::max(),
                         static_cast<std::uint32_t>(i)});
    } else {
      DrawTriangle(canvas, corners.a, corners.b, corners.c, surface);
    }
  }
  // Farthest first; ties in file order, so that every build draws alike.
  std::sort(blended.begin(), blended.end(), [](const Deferred& x, const Deferred& y) {
    return x.depth > y.depth || (!(y.depth > x.depth) && x.triangle < y.triangle);
  });
  for (const Deferred& d : blended) {
    const SceneTriangle& t = scene.triangles[d.triangle];
    const Corners corners = Tinted(projected, t, scene.materials[t.material]);
    DrawTriangle(canvas, corners.a, corners.b, corners.c, SurfaceOf(scene.materials[t.material], corners));
  }
}

}  // namespace

pixels::RgbaImage RenderModel(const ModelScene& scene, View view, TimeOfDay time, std::uint32_t size) {
  Canvas canvas(size, size, kBackground);
  Draw(scene, FrameModel(scene, view, size, size), time, canvas);
  return std::move(canvas.colour);
}

pixels::RgbaImage RenderSheet(const ModelScene& scene, std::uint32_t cellSize) {
  constexpr std::uint32_t kColumns = sizeof(kSheetViews) / sizeof(kSheetViews[0]);
  pixels::RgbaImage sheet(cellSize * kColumns, cellSize * 2);
  for (std::uint32_t row = 0; row < 2; ++row) {
    const TimeOfDay time = row == 0 ? TimeOfDay::kDay : TimeOfDay::kNight;
    for (std::uint32_t column = 0; column < kColumns; ++column) {
      const pixels::RgbaImage cell = RenderModel(scene, kSheetViews[column], time, cellSize);
      for (std::uint32_t y = 0; y < cellSize; ++y) {
        std::copy_n(cell.texel(0, y), std::size_t{cellSize} * 4, sheet.texel(column * cellSize, row * cellSize + y));
      }
    }
  }
  return sheet;
}

}  // namespace render
