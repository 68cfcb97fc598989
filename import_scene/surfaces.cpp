#include "import_scene/surfaces.h"

#include <map>
#include <set>


namespace import_scene {
namespace {

// The colour map the import writes the day colours in.
constexpr char kDayMap[] = "day";

double FromByte(std::uint8_t byte) { return byte == 255 ? 1.0 : (byte + 0.5) / 255.0; }

class ClipList {
 public:
  explicit ClipList(host::Lwo2Object& object) : object_(object) {
    for (const host::Lwo2Clip& clip : object.clips) indices_.emplace(clip.stillPath, clip.index);
  }

  std::uint32_t IndexOf(const std::string& path) {
    const auto [found, added] = indices_.emplace(path, static_cast<std::uint32_t>(object_.clips.size() + 1));
    if (added) object_.clips.push_back({found->second, path});
    return found->second;
  }

 private:
  host::Lwo2Object& object_;
  std::map<std::string, std::uint32_t> indices_;
};

std::string SurfaceStem(const import::Material& material, std::size_t slot) {
  return material.texture.empty() ? "material" + std::to_string(slot + 1) : material.texture;
}

host::Lwo2Surface MakeSurface(const import::Material& material, bool vertexColors, ImageNames& images,
                              ClipList& clips, std::vector<std::string>& warnings) {
  host::Lwo2Surface surface;
  surface.color = {FromByte(material.color[0]), FromByte(material.color[1]), FromByte(material.color[2])};
  surface.transparency = material.color[3] == 255 ? 0.0 : 1.0 - FromByte(material.color[3]);
  if (!material.texture.empty()) {
    host::Lwo2TextureLayer layer;
    layer.clip = clips.IndexOf(images.PathOf(material.texture, warnings));
    surface.colorLayers.push_back(layer);
  }
  if (material.environmentTexture && !material.environmentTexture->empty()) {
    surface.reflectivity = static_cast<double>(material.environmentCoefficient);
    surface.reflectionClip = clips.IndexOf(images.PathOf(*material.environmentTexture, warnings));
  } else {
    surface.reflectivity = 0.0;
  }
  if (material.specularLevel) surface.glossiness = static_cast<double>(*material.specularLevel);
  if (vertexColors) surface.vertexColorMap = kDayMap;
  return surface;
}

}  // namespace

std::vector<std::string> AddSurfaces(const std::vector<import::Material>& materials, bool vertexColors,
                                     ImageNames& images, host::Lwo2Object& object,
                                     std::vector<std::string>& warnings) {
  ClipList clips(object);
  std::set<std::string> names;
  for (const host::Lwo2Surface& surface : object.surfaces) names.insert(surface.name);
  std::vector<std::string> surfaceOfSlot;
  for (std::size_t slot = 0; slot < materials.size(); ++slot) {
    host::Lwo2Surface made = MakeSurface(materials[slot], vertexColors, images, clips, warnings);
    const std::string stem = SurfaceStem(materials[slot], slot);
    made.name = stem;
    for (int n = 2; !names.insert(made.name).second; ++n) made.name = stem + "_" + std::to_string(n);
    surfaceOfSlot.push_back(made.name);
    object.surfaces.push_back(std::move(made));
  }
  return surfaceOfSlot;
}

}  // namespace import_scene
