#include "plugin/object_import_calls.h"

#include <cstdint>
#include <vector>

#include "lightwave/lwo2_object.h"
#include "lwsdk/mesh_info.h"

namespace plugin {
namespace {

// Numbers the host knows a layer by: LightWave's loaders count from 1.
int LoaderLayerNumber(int layerNumber) { return layerNumber + 1; }

void SendMap(const host::UvMap& map, const std::vector<LWPntID>& points, const std::vector<LWPolID>& polygons,
             const LWObjectImport& local) {
  local.vmap(local.data, map.type, map.dimension, map.name.c_str());
  map.pointValues.ForEach([&](int point, host::StoredValue value) {
    local.vmapVal(local.data, points[static_cast<std::size_t>(point)], value.begin());
  });
  map.polygonValues.ForEach([&](const std::pair<int, int>& corner, host::StoredValue value) {
    local.vmapPDV(local.data, points[static_cast<std::size_t>(corner.first)],
                  polygons[static_cast<std::size_t>(corner.second)], value.begin());
  });
}

void SendLayer(const host::Lwo2Layer& layer, const LWObjectImport& local) {
  local.layer(local.data, LoaderLayerNumber(layer.number), layer.name.c_str());
  const LWFVector pivot = {static_cast<float>(layer.pivot[0]), static_cast<float>(layer.pivot[1]),
                           static_cast<float>(layer.pivot[2])};
  local.pivot(local.data, pivot);
  if (layer.parent >= 0) local.parent(local.data, LoaderLayerNumber(layer.parent));
  if (layer.flags != 0) local.lFlags(local.data, layer.flags);
  const host::Mesh& mesh = layer.mesh;
  std::vector<LWPntID> points;
  points.reserve(mesh.points.size());
  for (const std::array<float, 3>& point : mesh.points) points.push_back(local.point(local.data, point.data()));
  std::vector<LWPolID> polygons;
  polygons.reserve(mesh.polygons.size());
  std::vector<LWPntID> corners;
  for (const host::Polygon& polygon : mesh.polygons) {
    corners.clear();
    for (int point : polygon.points) corners.push_back(points[static_cast<std::size_t>(point)]);
    const LWPolID made = local.polygon(local.data, LWPOLTYPE_FACE, 0, static_cast<int>(corners.size()), corners.data());
    if (!polygon.surface.empty()) local.polTag(local.data, made, LWPTAG_SURF, polygon.surface.c_str());
    polygons.push_back(made);
  }
  for (const host::UvMap& map : mesh.uvMaps) SendMap(map, points, polygons, local);
  for (const host::UvMap& map : mesh.colorMaps) SendMap(map, points, polygons, local);
}

void SendSurface(const host::Lwo2Surface& surface, std::vector<std::uint8_t> block, int version,
                 const LWObjectImport& local) {
  const char* source = surface.source.empty() ? nullptr : surface.source.c_str();
  const int size = static_cast<int>(block.size());
  if (version < 4) {
    reinterpret_cast<LWObjectSurfaceFunc3>(local.surface)(local.data, surface.name.c_str(), source, size, block.data());
  } else {
    reinterpret_cast<LWObjectSurfaceFunc4>(local.surface)(local.data, surface.name.c_str(), source, size, block.data(),
                                                          kSurfaceBlockVersion);
  }
}

// The host's progress monitor, which may be absent.
class Progress {
 public:
  Progress(LWMonitor* monitor, std::size_t steps) : monitor_(monitor) {
    if (monitor_ != nullptr && monitor_->init != nullptr) monitor_->init(monitor_->data, static_cast<unsigned>(steps));
  }
  ~Progress() {
    if (monitor_ != nullptr && monitor_->done != nullptr) monitor_->done(monitor_->data);
  }
  Progress(const Progress&) = delete;
  Progress& operator=(const Progress&) = delete;

  // False when the user aborted.
  bool Step() { return monitor_ == nullptr || monitor_->step == nullptr || monitor_->step(monitor_->data, 1) == 0; }

 private:
  LWMonitor* monitor_;
};

}  // namespace

bool SendObject(const import_scene::ClumpObject& clump, int version, const LWObjectImport& local) {
  const host::Lwo2Object& object = clump.object;
  Progress progress(local.monitor, object.layers.size() + 1);
  for (const host::Lwo2Layer& layer : object.layers) {
    SendLayer(layer, local);
    if (!progress.Step()) return false;
  }
  for (std::size_t s = 0; s < object.surfaces.size(); ++s) {
    SendSurface(object.surfaces[s], clump.surfaceBlocks[s], version, local);
  }
  return progress.Step();
}

}  // namespace plugin
