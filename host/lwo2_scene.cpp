#include "host/lwo2_scene.h"

#include <algorithm>
#include <set>
#include <string_view>
#include <utility>

#include "host/item_motion.h"
#include "host/lightwave_files.h"
#include "platform/path_rules.h"

namespace host {
namespace {

// Layout lists an image under its file name, without the folders, and
// loads each image file once.
int UseImage(Scene& scene, const std::string& path) {
  for (std::size_t i = 0; i < scene.images.size(); ++i) {
    if (scene.images[i].filename == path) return static_cast<int>(i);
  }
  scene.images.push_back(Image{platform::StripPath(path), path});
  return static_cast<int>(scene.images.size() - 1);
}

// A clip index that names no still image gives no image, as in Layout.
int ImageOfClip(Scene& scene, const Lwo2Object& object, const std::optional<std::uint32_t>& clip) {
  if (!clip) return -1;
  const Lwo2Clip* found = object.FindClip(*clip);
  return found ? UseImage(scene, found->stillPath) : -1;
}

// Layout gives every polygon a surface: an untagged one gets "Default",
// and a tag without a SURF chunk is a surface with default values.
const char kDefaultSurface[] = "Default";

std::vector<std::string> SurfacesWithoutChunk(const Lwo2Object& object) {
  std::set<std::string_view> seen;
  for (const Lwo2Surface& surface : object.surfaces) seen.insert(surface.name);
  std::vector<std::string> missing;
  for (const Lwo2Layer& layer : object.layers) {
    for (const Polygon& polygon : layer.mesh.polygons) {
      const std::string_view name =
          polygon.surface.empty() ? std::string_view(kDefaultSurface) : std::string_view(polygon.surface);
      if (seen.insert(name).second) missing.emplace_back(name);
    }
  }
  return missing;
}

int AddColorTexture(Scene& scene, const Lwo2Object& object, const Lwo2Surface& surface) {
  if (surface.colorLayers.empty()) return -1;
  Texture texture;
  for (const Lwo2TextureLayer& layer : surface.colorLayers) {
    texture.layers.push_back({layer.type, ImageOfClip(scene, object, layer.clip)});
  }
  scene.textures.push_back(std::move(texture));
  return static_cast<int>(scene.textures.size() - 1);
}

}  // namespace

LoadedObject AddObjectFile(Scene& scene, Lwo2Object object, const std::string& filename) {
  ObjectFile file;
  file.filename = filename;
  scene.warnings.insert(scene.warnings.end(), object.warnings.begin(), object.warnings.end());
  for (const Lwo2Clip& clip : object.clips) UseImage(scene, clip.stillPath);
  for (const Lwo2Surface& source : object.surfaces) {
    Surface surface;
    surface.name = source.name;
    surface.color = source.color;
    surface.transparency = source.transparency;
    surface.reflectivity = source.reflectivity;
    surface.glossiness = source.glossiness;
    surface.colorTexture = AddColorTexture(scene, object, source);
    surface.reflectionImage = ImageOfClip(scene, object, source.reflectionClip);
    surface.colorVMap = source.vertexColorMap;
    file.surfaces.push_back(std::move(surface));
  }
  for (const Lwo2Layer& layer : object.layers) file.layers.push_back({layer.number, layer.name});
  for (const std::string& name : SurfacesWithoutChunk(object)) {
    Surface surface;
    surface.name = name;
    file.surfaces.push_back(std::move(surface));
  }
  scene.objectFiles.push_back(std::move(file));
  LoadedObject loaded;
  loaded.layerMeshes.assign(object.layers.size(), -1);
  loaded.object = std::move(object);
  loaded.filename = filename;
  loaded.objectFile = static_cast<int>(scene.objectFiles.size() - 1);
  return loaded;
}

int UseLayerMesh(Scene& scene, LoadedObject& loaded, std::size_t layer) {
  int& mesh = loaded.layerMeshes[layer];
  if (mesh < 0) {
    Mesh& source = loaded.object.layers[layer].mesh;
    for (Polygon& polygon : source.polygons) {
      if (polygon.surface.empty()) polygon.surface = kDefaultSurface;
    }
    scene.meshes.push_back(std::move(source));
    mesh = static_cast<int>(scene.meshes.size() - 1);
  }
  return mesh;
}

std::string LayerItemName(const std::string& filename, const Lwo2Object& object, const Lwo2Layer& layer) {
  std::string name = platform::RemoveExtension(platform::StripPath(filename));
  if (object.layers.size() > 1) {
    name += ':';
    name += layer.name.empty() ? "Layer " + std::to_string(layer.number + 1) : layer.name;
  }
  return name;
}

Scene ObjectScene(Lwo2Object object, const std::string& path) {
  std::vector<std::size_t> shown;
  for (std::size_t i = 0; i < object.layers.size(); ++i) {
    if (!object.layers[i].mesh.points.empty()) shown.push_back(i);
  }
  if (shown.empty() && !object.layers.empty()) shown.push_back(0);
  // Layout makes the items in layer-number order, whatever order the file
  // keeps the layers in.
  std::stable_sort(shown.begin(), shown.end(),
                   [&](std::size_t a, std::size_t b) { return object.layers[a].number < object.layers[b].number; });

  Scene scene;
  scene.name = platform::StripPath(path);
  scene.filename = path;
  LoadedObject loaded = AddObjectFile(scene, std::move(object), path);
  const std::vector<Lwo2Layer>& layers = loaded.object.layers;
  std::vector<LocalPose> poses;
  for (std::size_t layer : shown) {
    Item item;
    item.name = LayerItemName(path, loaded.object, layers[layer]);
    item.objectFile = loaded.objectFile;
    item.mesh = UseLayerMesh(scene, loaded, layer);
    const auto parent = std::find_if(shown.begin(), shown.end(),
                                     [&](std::size_t other) { return layers[other].number == layers[layer].parent; });
    if (parent != shown.end()) item.parent = static_cast<int>(parent - shown.begin());
    scene.items.push_back(std::move(item));
    LocalPose pose;
    pose.position = layers[layer].pivot;
    pose.pivot = layers[layer].pivot;
    poses.push_back(pose);
  }
  if (const std::optional<std::size_t> looped = FindParentCycle(scene.items)) {
    throw LoadError(path + ": the parents of layer '" + scene.items[*looped].name +
                    "' lead back to it; fix the layer parents in Modeler");
  }
  SetMotionsAtTimeZero(scene.items, poses);
  return scene;
}

}  // namespace host
