// The day and night colours of the map command: each corner's colours as
// the game stores them, and the per-vertex arrays.  A corner's colours
// become one sample of a list after the UV maps' lists, so that vertices
// split on them exactly as they split on UV values.  A sample holds each
// colour as two floats of 16 bits each (red and green, blue and alpha),
// which compare exactly and cost half of four.
#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "lwsdk/mesh_info.h"
#include "scene/color_sample_finder.h"
#include "scene/geometry_steps.h"

namespace scene {
namespace {

using Color = std::array<std::uint8_t, 4>;

// A corner's day and night colours as the host gave them, four floats each
// (alpha 1 for an RGB map), before they are clamped.
constexpr std::size_t kCornerComponents = 8;
constexpr std::size_t kNightAt = 4;
using RawCorner = std::array<float, kCornerComponents>;

// Reads one corner's colour from `source`: the polygon's own value, else
// the point's, else white.
class CornerReader {
 public:
  explicit CornerReader(LWMeshInfoID mesh) : mesh_(mesh) {}

  // Writes the four components of one colour to `out`.
  void Read(const std::optional<ColorSource>& source, LWPntID point, LWPolID polygon, float* out) const {
    if (!source) {
      std::fill_n(out, 4, 1.0f);
      return;
    }
    std::fill_n(out, 4, 0.0f);
    if (mesh_->pntVPIDGet(mesh_, point, polygon, out, source->handle) == 0) {
      std::fill_n(out, 4, 0.0f);
      if (mesh_->pntVIDGet(mesh_, point, out, source->handle) == 0) {
        std::fill_n(out, 4, 1.0f);
        return;
      }
    }
    if (!source->hasAlpha) out[3] = 1.0f;
  }

 private:
  LWMeshInfoID mesh_;
};

// Each component as the game stores it: clamped to 0..1 (a NaN as 0), times
// 255, rounded half up.  True when the clamp changed any of them.  Plain
// steps without branches, so that the loop is vectorised.
bool ConvertComponents(const float* raw, std::size_t count, std::uint8_t* bytes) {
  std::uint8_t changed = 0;
  for (std::size_t i = 0; i < count; ++i) {
    const float value = raw[i];
    // 0 first: std::max keeps its first argument when the other is a NaN.
    const float kept = std::min(std::max(0.0f, value), 1.0f);
    changed |= kept != value ? 1 : 0;  // a NaN equals nothing
    bytes[i] = static_cast<std::uint8_t>(static_cast<std::int32_t>(kept * 255.0f + 0.5f));
  }
  return changed != 0;
}

// The corners of a block with a component outside 0..1 or not a number.
std::int32_t CountClampedCorners(const RawCorner* corners, std::size_t count) {
  std::int32_t clamped = 0;
  for (std::size_t c = 0; c < count; ++c) {
    const RawCorner& corner = corners[c];
    clamped += std::any_of(corner.begin(), corner.end(), [](float v) { return !(v >= 0.0f && v <= 1.0f); }) ? 1 : 0;
  }
  return clamped;
}

// Eight bytes as one number, in their order in memory.
std::uint64_t Word(const std::uint8_t* bytes) {
  std::uint64_t word = 0;
  std::memcpy(&word, bytes, sizeof word);
  return word;
}

Color Unpack(const float* values) {
  const auto first = static_cast<unsigned>(values[0]);
  const auto second = static_cast<unsigned>(values[1]);
  return {static_cast<std::uint8_t>(first >> 8), static_cast<std::uint8_t>(first & 0xFFu),
          static_cast<std::uint8_t>(second >> 8), static_cast<std::uint8_t>(second & 0xFFu)};
}

// The day map of each triangle's polygon, asked once per run of triangles
// of one polygon and looked up once per run of one surface name.
class DaySources {
 public:
  DaySources(const MeshObject& object, LWMeshInfoID mesh) : plan_(object.colorPlan), mesh_(mesh) {}

  const std::optional<ColorSource>& Of(LWPolID polygon) {
    // Without surface maps no polygon's tag is needed.
    if (plan_.surfaceDay.empty()) return plan_.defaultDay;
    if (started_ && polygon == polygon_) return *current_;
    started_ = true;
    polygon_ = polygon;
    const char* tag = mesh_->polTag(mesh_, polygon, LWPTAG_SURF);
    const std::string_view name = tag != nullptr ? std::string_view(tag) : std::string_view();
    if (current_ != nullptr && name == tag_) return *current_;
    tag_.assign(name);
    const auto named = plan_.surfaceDay.find(tag_);
    current_ = named != plan_.surfaceDay.end() ? &named->second : &plan_.defaultDay;
    return *current_;
  }

 private:
  const ColorPlan& plan_;
  LWMeshInfoID mesh_;
  bool started_ = false;
  LWPolID polygon_ = nullptr;
  std::string tag_;
  const std::optional<ColorSource>* current_ = nullptr;
};

// Corners are read from the host a block at a time, then converted in one
// loop over the block, which the compiler runs several components at a
// time.
constexpr std::size_t kBlockTriangles = 64;

}  // namespace

void ReadColorSamples(MeshObject& object, LWMeshInfoID mesh) {
  if (object.colorSetCount == 0) return;
  const std::size_t stride = object.SampleStride();
  const auto column = static_cast<std::size_t>(object.uvSetCount);
  const bool hasNight = object.colorSetCount > 1;
  ColorSampleFinder finder(object.uvSamples[column], object.points.size(), hasNight ? 4 : 2);
  const CornerReader reader(mesh);
  DaySources daySources(object, mesh);
  const std::optional<ColorSource>& nightSource = object.colorPlan.night;
  const std::vector<MeshPoint>& points = object.points;
  const std::vector<MeshPolygon>& triangles = object.polygons;
  // The corners' entries in this list's column, one stride apart.
  std::int32_t* cornerSample = object.cornerSamples.data() + column;
  // Without a night map the night colour stays white, converted and unused.
  std::vector<RawCorner> block(3 * kBlockTriangles);
  for (RawCorner& corner : block) corner.fill(1.0f);
  std::vector<std::uint8_t> bytes(block.size() * kCornerComponents);
  std::int32_t clampedCorners = 0;
  for (std::size_t first = 0; first < triangles.size(); first += kBlockTriangles) {
    const std::size_t end = std::min(first + kBlockTriangles, triangles.size());
    RawCorner* raw = block.data();
    for (std::size_t t = first; t < end; ++t) {
      const MeshPolygon& triangle = triangles[t];
      const std::optional<ColorSource>& daySource = daySources.Of(triangle.polygonId);
      for (const std::int32_t point : triangle.corners) {
        const LWPntID id = points[static_cast<std::size_t>(point)].pointId;
        reader.Read(daySource, id, triangle.polygonId, raw->data());
        if (hasNight) reader.Read(nightSource, id, triangle.polygonId, raw->data() + kNightAt);
        ++raw;
      }
    }
    const std::size_t corners = 3 * (end - first);
    // Values out of range are rare: their corners are counted only in a
    // block that has one.
    if (ConvertComponents(block.front().data(), corners * kCornerComponents, bytes.data())) {
      clampedCorners += CountClampedCorners(block.data(), corners);
    }
    std::size_t at = 0;
    for (std::size_t t = first; t < end; ++t) {
      for (const std::int32_t point : triangles[t].corners) {
        *cornerSample = finder.FindOrAdd(point, Word(&bytes[at]));
        cornerSample += stride;
        at += kCornerComponents;
      }
    }
  }
  object.colorReport.clampedCorners += clampedCorners;
}

void WriteColorArrays(MeshObject& object, const std::vector<std::int32_t>& numbering) {
  if (object.colorSetCount == 0) return;
  const std::size_t stride = object.SampleStride();
  const auto column = static_cast<std::size_t>(object.uvSetCount);
  const bool hasNight = object.colorSetCount > 1;
  const UvSampleList& list = object.uvSamples[column];
  object.dayColors.resize(numbering.size());
  if (hasNight) object.nightColors.resize(numbering.size());
  for (std::size_t j = 0; j < numbering.size(); ++j) {
    const float* values = list.Values(object.vertexSamples[static_cast<std::size_t>(numbering[j]) * stride + column]);
    object.dayColors[j] = Unpack(values);
    if (hasNight) object.nightColors[j] = Unpack(values + 2);
  }
}

}  // namespace scene
