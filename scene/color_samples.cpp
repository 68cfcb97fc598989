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
#include <string>
#include <string_view>
#include <vector>

#include "plugin/lw_host.h"
#include "scene/geometry_steps.h"
#include "scene/sample_finder.h"

namespace scene {
namespace {

using Color = std::array<std::uint8_t, 4>;
constexpr Color kWhite{255, 255, 255, 255};

// A colour component as the game stores it: clamped to 0..1 (a NaN as 0),
// times 255, rounded half up.  Sets `clamped` when the value was changed.
// Written without branches, as it runs for every component of every corner.
std::uint8_t ToByte(float value, bool& clamped) {
  const bool inRange = value >= 0.0f && value <= 1.0f;  // false for a NaN
  clamped |= !inRange;
  const float kept = value > 0.0f ? std::min(value, 1.0f) : 0.0f;  // a NaN gives 0
  return static_cast<std::uint8_t>(kept * 255.0f + 0.5f);
}

float Pack(std::uint8_t high, std::uint8_t low) { return static_cast<float>(high * 256 + low); }

Color Unpack(const float* values) {
  const auto first = static_cast<unsigned>(values[0]);
  const auto second = static_cast<unsigned>(values[1]);
  return {static_cast<std::uint8_t>(first >> 8), static_cast<std::uint8_t>(first & 0xFFu),
          static_cast<std::uint8_t>(second >> 8), static_cast<std::uint8_t>(second & 0xFFu)};
}

// Reads one corner's colour from `source`: the polygon's own value, else
// the point's, else white.  Counts the colours it clamped.
class CornerColors {
 public:
  explicit CornerColors(LWMeshInfoID mesh) : mesh_(mesh) {}

  Color Read(const std::optional<ColorSource>& source, LWPntID point, LWPolID polygon) {
    if (!source) return kWhite;
    buffer_.fill(0.0f);
    if (mesh_->pntVPIDGet(mesh_, point, polygon, buffer_.data(), source->handle) == 0) {
      buffer_.fill(0.0f);
      if (mesh_->pntVIDGet(mesh_, point, buffer_.data(), source->handle) == 0) return kWhite;
    }
    if (!source->hasAlpha) buffer_[3] = 1.0f;
    bool clamped = false;
    Color color{};
    for (std::size_t i = 0; i < 4; ++i) color[i] = ToByte(buffer_[i], clamped);
    clampedColors_ += clamped ? 1 : 0;
    return color;
  }

  std::int32_t clampedColors() const { return clampedColors_; }

 private:
  LWMeshInfoID mesh_;
  std::array<float, 4> buffer_{};
  std::int32_t clampedColors_ = 0;
};

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

}  // namespace

void ReadColorSamples(MeshObject& object, LWMeshInfoID mesh) {
  if (object.colorSetCount == 0) return;
  const std::size_t stride = object.SampleStride();
  const auto column = static_cast<std::size_t>(object.uvSetCount);
  const bool hasNight = object.colorSetCount > 1;
  SampleFinder finder(object.uvSamples[column], object.points.size(), hasNight ? 4 : 2);
  CornerColors colors(mesh);
  DaySources daySources(object, mesh);
  const std::optional<ColorSource>& nightSource = object.colorPlan.night;
  const std::vector<MeshPoint>& points = object.points;
  // The corners' entries in this list's column, one stride apart.
  std::int32_t* cornerSample = object.cornerSamples.data() + column;
  std::array<float, 4> sample{};
  for (const MeshPolygon& triangle : object.polygons) {
    const std::optional<ColorSource>& daySource = daySources.Of(triangle.polygonId);
    for (const std::int32_t point : triangle.corners) {
      const LWPntID id = points[static_cast<std::size_t>(point)].pointId;
      const Color day = colors.Read(daySource, id, triangle.polygonId);
      sample[0] = Pack(day[0], day[1]);
      sample[1] = Pack(day[2], day[3]);
      if (hasNight) {
        const Color night = colors.Read(nightSource, id, triangle.polygonId);
        sample[2] = Pack(night[0], night[1]);
        sample[3] = Pack(night[2], night[3]);
      }
      *cornerSample = finder.FindOrAdd(point, sample.data());
      cornerSample += stride;
    }
  }
  object.colorReport.clampedCorners += colors.clampedColors();
  // The list was given room for a sample per point and grew past it
  // where colours split points: held until the vertex arrays are written,
  // it keeps only what it uses.
  object.uvSamples[column].values.shrink_to_fit();
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
