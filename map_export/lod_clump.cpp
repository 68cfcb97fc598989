#include "map_export/lod_clump.h"

namespace mapexport {

LodClump::LodClump(const std::string& name, const simplify::Mesh& mesh,
                   const std::vector<scene::MaterialEntry>& materials)
    : name_(name), mesh_(mesh), materials_(materials), identity_(platform::Matrix4::Identity()) {}

dff::ClumpFrame LodClump::Frame(std::int32_t) const { return {identity_, platform::Vec3f{}, -1, name_}; }

dff::ClumpGeometry LodClump::Geometry(std::int32_t) const {
  return {0,
          0,
          name_,
          static_cast<std::int32_t>(mesh_.positions.size()),
          static_cast<std::int32_t>(mesh_.TriangleCount()),
          static_cast<std::int32_t>(mesh_.uvSets.size()),
          static_cast<std::int32_t>(materials_.size()),
          mesh_.positions,
          mesh_.normals,
          mesh_.uvSets,
          mesh_.dayColors,
          mesh_.nightColors,
          mesh_.cornerVertices,
          mesh_.cornerMaterials,
          noEffects_};
}

dff::ClumpMaterial LodClump::Material(std::int32_t, std::int32_t material) const {
  const scene::MaterialEntry& entry = materials_[static_cast<std::size_t>(material)];
  return {entry.rgba, entry.textured, entry.textureName, entry.reflectionImageName, entry.reflectivity,
          entry.glossiness};
}

}  // namespace mapexport
