#include "host/object_import.h"

#include <algorithm>
#include <cstdint>
#include <utility>

#include "lightwave/iff_reader.h"
#include "lightwave/load_error.h"
#include "lightwave/lwo2_surface_reader.h"
#include "platform/host_path.h"

namespace host {
namespace {

// The object under construction.  Point and polygon identifiers are
// positions in lists of (layer, index) plus one, so that null stays
// "none" on every build.
class ObjectBuilder {
 public:
  explicit ObjectBuilder(ObjectLoad& load) : load_(load) {}

  void Layer(int number, const char* name) {
    current_ = FindLayer(number);
    if (current_ < 0) {
      load_.object.layers.emplace_back();
      current_ = static_cast<int>(load_.object.layers.size()) - 1;
    } else {
      load_.object.layers[Index(current_)] = {};  // a layer started again is emptied
    }
    Lwo2Layer& layer = load_.object.layers[Index(current_)];
    layer.number = number - 1;
    layer.name = name != nullptr ? name : "";
    map_ = nullptr;
  }
  int SwitchLayer(int number) {
    const int found = FindLayer(number);
    if (found < 0) return 0;
    current_ = found;
    map_ = nullptr;
    return 1;
  }
  void Pivot(const float* pivot) {
    if (Lwo2Layer* layer = Current("pivot"))
      layer->pivot = {static_cast<double>(pivot[0]), static_cast<double>(pivot[1]), static_cast<double>(pivot[2])};
  }
  void Parent(int number) {
    if (Lwo2Layer* layer = Current("parent")) layer->parent = number - 1;
  }
  void Flags(int flags) {
    if (Lwo2Layer* layer = Current("lFlags")) layer->flags = flags;
  }
  LWPntID Point(const float* position) {
    Lwo2Layer* layer = Current("point");
    if (layer == nullptr) return nullptr;
    layer->mesh.points.push_back({position[0], position[1], position[2]});
    points_.emplace_back(current_, static_cast<int>(layer->mesh.points.size()) - 1);
    return reinterpret_cast<LWPntID>(static_cast<std::uintptr_t>(points_.size()));
  }
  LWPolID Polygon(LWID type, int count, const LWPntID* corners) {
    Lwo2Layer* layer = Current("polygon");
    if (layer == nullptr || count < 0 || (count > 0 && corners == nullptr)) return nullptr;
    host::Polygon polygon;
    polygon.type = type;
    for (int i = 0; i < count; ++i) {
      const int point = PointOf(corners[i], "polygon");
      if (point < 0) return nullptr;
      polygon.points.push_back(point);
    }
    layer->mesh.polygons.push_back(std::move(polygon));
    polygons_.emplace_back(current_, static_cast<int>(layer->mesh.polygons.size()) - 1);
    return reinterpret_cast<LWPolID>(static_cast<std::uintptr_t>(polygons_.size()));
  }
  void PolygonTag(LWPolID polygon, LWID tagType, const char* tag) {
    const int index = PolygonOf(polygon, "polTag");
    if (index < 0 || tag == nullptr || tagType != MakeId("SURF")) return;  // part names are not kept
    load_.object.layers[Index(current_)].mesh.polygons[Index(index)].surface = tag;
  }
  void VertexMap(LWID type, int dimension, const char* name) {
    Lwo2Layer* layer = Current("vmap");
    map_ = nullptr;
    if (layer == nullptr || name == nullptr) return;
    // Weights, morphs and the other kinds have no place in the record.
    const bool uv = type == kVertexMapUv;
    if (!uv && type != kVertexMapRgb && type != kVertexMapRgba) return;
    std::vector<UvMap>& maps = uv ? layer->mesh.uvMaps : layer->mesh.colorMaps;
    auto found =
        std::find_if(maps.begin(), maps.end(), [&](const UvMap& m) { return m.name == name && m.type == type; });
    if (found == maps.end()) {
      UvMap map;
      map.name = name;
      map.type = type;
      map.dimension = dimension;
      maps.push_back(std::move(map));
      found = maps.end() - 1;
    }
    map_ = &*found;
  }
  void VertexMapValue(LWPntID point, const float* values) {
    const int p = PointOf(point, "vmapVal");
    if (p >= 0 && MapReady("vmapVal", values))
      map_->pointValues.Set(p, values, static_cast<std::size_t>(map_->dimension));
  }
  void VertexMapCorner(LWPntID point, LWPolID polygon, const float* values) {
    const int p = PointOf(point, "vmapPDV");
    const int q = PolygonOf(polygon, "vmapPDV");
    if (p >= 0 && q >= 0 && MapReady("vmapPDV", values)) {
      map_->polygonValues.Set({p, q}, values, static_cast<std::size_t>(map_->dimension));
    }
  }
  void Surface(const char* name, const char* source, int size, const void* block) {
    if (name == nullptr || size < 0 || (size > 0 && block == nullptr)) {
      Fault("surface: a call without a name or with a block of " + std::to_string(size) + " bytes");
      return;
    }
    std::vector<Lwo2Surface>& surfaces = load_.object.surfaces;
    try {
      Lwo2Surface made = ReadSurfaceBlock(
          name, source != nullptr ? source : "",
          IffReader(static_cast<const std::uint8_t*>(block), static_cast<std::size_t>(size), 0), surfaces);
      auto same =
          std::find_if(surfaces.begin(), surfaces.end(), [&](const Lwo2Surface& s) { return s.name == made.name; });
      if (same != surfaces.end()) {
        *same = std::move(made);
      } else {
        surfaces.push_back(std::move(made));
      }
    } catch (const IffError& error) {
      Fault(std::string("surface \"") + name + "\": its block cannot be read: " + error.what());
    }
  }
  void SurfaceVersion(unsigned int version) { load_.surfaceVersions.push_back(version); }
  void* CurrentMap() const { return map_; }
  void Done() { load_.doneCalled = true; }

 private:
  static std::size_t Index(int i) { return static_cast<std::size_t>(i); }

  int FindLayer(int number) const {
    const auto& layers = load_.object.layers;
    for (std::size_t i = 0; i < layers.size(); ++i) {
      if (layers[i].number == number - 1) return static_cast<int>(i);
    }
    return -1;
  }
  Lwo2Layer* Current(const char* call) {
    if (current_ >= 0) return &load_.object.layers[Index(current_)];
    Fault(std::string(call) + ": called before any layer");
    return nullptr;
  }
  // The index in the current layer of an identifier this host handed out.
  template <class Id>
  int Resolve(Id id, const std::vector<std::pair<int, int>>& list, const char* call, const char* kind) {
    const auto position = reinterpret_cast<std::uintptr_t>(id);
    if (position == 0 || position > list.size()) {
      Fault(std::string(call) + ": a " + kind + " this host never handed out");
      return -1;
    }
    const auto& [layer, index] = list[position - 1];
    if (layer != current_) {
      Fault(std::string(call) + ": a " + kind + " of another layer");
      return -1;
    }
    return index;
  }
  int PointOf(LWPntID point, const char* call) { return Resolve(point, points_, call, "point"); }
  int PolygonOf(LWPolID polygon, const char* call) { return Resolve(polygon, polygons_, call, "polygon"); }
  bool MapReady(const char* call, const float* values) {
    if (map_ != nullptr && values != nullptr) return true;
    if (values == nullptr) Fault(std::string(call) + ": no values");
    return false;  // no map selected, or one of a kind the record keeps no values of
  }
  void Fault(std::string what) { load_.faults.push_back(std::move(what)); }

  ObjectLoad& load_;
  int current_ = -1;  // index into the object's layers
  UvMap* map_ = nullptr;
  std::vector<std::pair<int, int>> points_;    // (layer index, point)
  std::vector<std::pair<int, int>> polygons_;  // (layer index, polygon)
};

ObjectBuilder& Builder(void* data) { return *static_cast<ObjectBuilder*>(data); }

void LWCALL DoneCall(void* data) { Builder(data).Done(); }
void LWCALL LayerCall(void* data, int number, const char* name) { Builder(data).Layer(number, name); }
void LWCALL PivotCall(void* data, const LWFVector pivot) { Builder(data).Pivot(pivot); }
void LWCALL ParentCall(void* data, int number) { Builder(data).Parent(number); }
void LWCALL FlagsCall(void* data, int flags) { Builder(data).Flags(flags); }
LWPntID LWCALL PointCall(void* data, const LWFVector position) { return Builder(data).Point(position); }
void LWCALL VmapCall(void* data, LWID type, int dimension, const char* name) {
  Builder(data).VertexMap(type, dimension, name);
}
void LWCALL VmapValueCall(void* data, LWPntID point, const float* values) {
  Builder(data).VertexMapValue(point, values);
}
LWPolID LWCALL PolygonCall(void* data, LWID type, int /*flags*/, int count, const LWPntID* corners) {
  return Builder(data).Polygon(type, count, corners);
}
void LWCALL PolygonTagCall(void* data, LWPolID polygon, LWID tagType, const char* tag) {
  Builder(data).PolygonTag(polygon, tagType, tag);
}
void LWCALL Surface3Call(void* data, const char* name, const char* source, int size, void* block) {
  Builder(data).Surface(name, source, size, block);
}
void LWCALL Surface4Call(void* data, const char* name, const char* source, int size, void* block,
                         unsigned int version) {
  Builder(data).Surface(name, source, size, block);
  Builder(data).SurfaceVersion(version);
}
void LWCALL VmapCornerCall(void* data, LWPntID point, LWPolID polygon, const float* values) {
  Builder(data).VertexMapCorner(point, polygon, values);
}
void LWCALL SubpatchCall(void* /*data*/, unsigned int /*interpolation*/) {}
void LWCALL SketchColorCall(void* /*data*/, unsigned int /*color*/) {}
void* LWCALL CurrentMapCall(void* data) { return Builder(data).CurrentMap(); }
LWImageID LWCALL LoadBitmapCall(const char* /*path*/) { return nullptr; }  // the host keeps no images of objects
int LWCALL SwitchLayerCall(void* data, int number) { return Builder(data).SwitchLayer(number); }

// The record at `version`: the surface call takes its sixth argument from
// version 4 on, and the slots after vmapPDV exist only from then.
LWObjectImport MakeRecord(const std::string& path, const ObjectLoadOptions& options, std::vector<char>& failed,
                          ObjectBuilder& builder) {
  LWObjectImport local{};
  local.result = LWOBJIM_NOREC;
  local.filename = path.c_str();
  local.monitor = options.monitor;
  local.failedBuf = failed.empty() ? nullptr : failed.data();
  local.failedLen = static_cast<int>(failed.size());
  local.data = &builder;
  local.done = DoneCall;
  local.layer = LayerCall;
  local.pivot = PivotCall;
  local.parent = ParentCall;
  local.lFlags = FlagsCall;
  local.point = PointCall;
  local.vmap = VmapCall;
  local.vmapVal = VmapValueCall;
  local.polygon = PolygonCall;
  local.polTag = PolygonTagCall;
  local.vmapPDV = VmapCornerCall;
  if (options.version < 4) {
    local.surface = reinterpret_cast<LWUntypedFunc>(Surface3Call);
    return local;
  }
  local.surface = reinterpret_cast<LWUntypedFunc>(Surface4Call);
  local.vmapsubp = SubpatchCall;
  local.vmapskco = SketchColorCall;
  local.curVmap = CurrentMapCall;
  local.loadBitmap = LoadBitmapCall;
  local.switchLayer = SwitchLayerCall;
  return local;
}

}  // namespace

ObjectLoad LoadThroughObjectLoaders(const PluginModule& module, GlobalFunc global, const std::string& path,
                                    const ObjectLoadOptions& options) {
  // Version 5 hands the loader its file name in UTF-8, earlier ones in the
  // system's code page, which `path` is in.
  const std::string hostText =
      options.version >= 5
          ? platform::HostTextFromPath(platform::PathFromHostText(path, platform::TextEncoding::kNative),
                                       platform::TextEncoding::kUtf8)
          : path;
  for (const std::string& name : module.ServerNames(LWOBJECTLOADER_CLASS)) {
    ObjectLoad load;
    ObjectBuilder builder(load);
    std::vector<char> failed(static_cast<std::size_t>(std::max(options.failedLength, 0)), '\0');
    LWObjectImport local = MakeRecord(hostText, options, failed, builder);
    const int activation = module.RunObjectLoader(name, options.version, global, local);
    if (activation != AFUNC_OK) {
      throw ModuleError("the object loader \"" + name + "\" failed to start (activation result " +
                        std::to_string(activation) + ") for " + path);
    }
    if (local.result == LWOBJIM_NOREC) continue;
    load.result = local.result;
    load.loader = name;
    load.failure.assign(failed.begin(), std::find(failed.begin(), failed.end(), '\0'));
    if (load.result != LWOBJIM_OK) load.object = {};
    return load;
  }
  return {};
}

Lwo2Object LoadObjectThroughLoaders(const PluginModule& module, GlobalFunc global, const std::string& path) {
  ObjectLoad load = LoadThroughObjectLoaders(module, global, path);
  switch (load.result) {
    case LWOBJIM_OK:
      return std::move(load.object);
    case LWOBJIM_NOREC:
      throw LoadError(path + ": not a LightWave object, and no object loader of the module reads it");
    case LWOBJIM_ABORTED:
      throw LoadError(path + ": the object loader \"" + load.loader + "\" was stopped");
    default:
      throw LoadError(load.failure.empty() ? path + ": the object loader \"" + load.loader + "\" could not read it"
                                           : load.failure);
  }
}

}  // namespace host
