#include "map_export/section_lods.h"

#include <cctype>
#include <cstdio>
#include <map>

#include "col/entry_builder.h"
#include "dff/clump_writer.h"
#include "dff/output_stream.h"
#include "map_export/lod_clump.h"
#include "map_export/map_collision.h"
#include "scene/frame_node.h"
#include "section/lod_name.h"

namespace mapexport {
namespace {

std::string Lower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

// Keeps the materials the kept triangles use, in their order, and numbers
// the corners' materials again.
std::vector<scene::MaterialEntry> UsedMaterials(const std::vector<scene::MaterialEntry>& materials,
                                                std::vector<std::int32_t>& cornerMaterials) {
  std::vector<std::int32_t> newIndex(materials.size(), -1);
  for (std::int32_t material : cornerMaterials) newIndex[static_cast<std::size_t>(material)] = 0;
  std::vector<scene::MaterialEntry> used;
  for (std::size_t i = 0; i < materials.size(); ++i) {
    if (newIndex[i] < 0) continue;
    newIndex[i] = static_cast<std::int32_t>(used.size());
    used.push_back(materials[i]);
  }
  for (std::int32_t& material : cornerMaterials) material = newIndex[static_cast<std::size_t>(material)];
  return used;
}

// A normal turned by its frame and every frame above it, as the game
// turns the positions (PointsInClumpSpace), without their offsets.
platform::Vec3f TurnedToClumpSpace(const scene::FrameNode* frame, platform::Vec3f normal) {
  for (; frame != nullptr; frame = frame->parent) {
    const auto& m = frame->rotationMatrix->m;
    normal = {normal.x * m[0][0] + normal.y * m[1][0] + normal.z * m[2][0],
              normal.x * m[0][1] + normal.y * m[1][1] + normal.z * m[2][1],
              normal.x * m[0][2] + normal.y * m[1][2] + normal.z * m[2][2]};
  }
  return normal;
}

col::EntrySource BoundsOf(const std::string& name, const simplify::Mesh& mesh) {
  col::EntrySource source;
  source.name = name;
  source.boundsOnly = true;
  for (const platform::Vec3f& p : mesh.positions) {
    source.visual.push_back({static_cast<double>(p.x), static_cast<double>(p.y), static_cast<double>(p.z)});
  }
  return source;
}

}  // namespace

std::optional<scene::MessageLines> PlanGeneratedLods(std::vector<SectionModelPlan>& models) {
  std::vector<bool> hasLod(models.size(), false);
  std::map<std::string, std::string> modelOfName;
  for (const SectionModelPlan& model : models) {
    if (model.lodOf) hasLod[*model.lodOf] = true;
    modelOfName.emplace(Lower(model.name), model.name);
  }
  for (std::size_t i = 0; i < models.size(); ++i) {
    if (models[i].lodOf || hasLod[i]) continue;
    const std::string name = section::GeneratedLodName(models[i].name);
    const auto [found, added] = modelOfName.emplace(Lower(name), models[i].name);
    if (!added) {
      return scene::MessageLines{"The LOD model built for " + models[i].name + " would be named " + name +
                                     ", as the model " + found->second + " or its LOD is, which the game cannot "
                                     "tell apart.",
                                 "Rename one of the object files, or turn the building of LOD models off, and "
                                 "export again."};
    }
    models[i].generatedLod = name;
  }
  return std::nullopt;
}

LodSource TakeLodSource(const std::string& name, const scene::MeshObject& mesh) {
  LodSource source;
  source.name = name;
  for (const col::Point& p : PointsInClumpSpace(mesh)) {
    source.mesh.positions.push_back({static_cast<float>(p[0]), static_cast<float>(p[1]), static_cast<float>(p[2])});
  }
  for (const platform::Vec3f& normal : mesh.normals) {
    source.mesh.normals.push_back(TurnedToClumpSpace(mesh.frame, normal));
  }
  source.mesh.uvSets = mesh.uvSets;
  source.mesh.dayColors = mesh.dayColors;
  source.mesh.nightColors = mesh.nightColors;
  source.mesh.cornerVertices = mesh.cornerVertices;
  source.mesh.cornerMaterials = mesh.cornerMaterials;
  source.materials = mesh.materials;
  return source;
}

LodBuild BuildGeneratedLod(const LodSource& source) {
  LodBuild build;
  simplify::Simplified simplified = simplify::SimplifyMesh(source.mesh, {kLodTriangleShare, kLodErrorLimit});
  if (simplified.trianglesAfter == 0) {
    build.error = "The LOD model " + source.name + " lost every triangle to the simplifier";
    return build;
  }
  const std::vector<scene::MaterialEntry> materials = UsedMaterials(source.materials, simplified.mesh.cornerMaterials);
  LodClump clump(source.name, simplified.mesh, materials);
  dff::OutputStream dff;
  dff::WriteClump(dff, clump);
  if (dff.failed()) {
    build.error = "The DFF of the LOD model " + source.name + " could not be built: " + dff.error();
    return build;
  }
  const col::BuiltEntry bounds = col::BuildEntry(BoundsOf(source.name, simplified.mesh));
  if (bounds.failure != col::BuildFailure::kNone) {
    build.error = "The COL entry of the LOD model " + source.name + " could not be built: " + bounds.error;
    return build;
  }
  build.lod = GeneratedLod{source.name,
                           dff.bytes(),
                           bounds.entry,
                           simplified.trianglesBefore,
                           simplified.trianglesAfter,
                           simplified.errorBound};
  return build;
}

std::string DescribeLod(const GeneratedLod& lod, const std::string& model) {
  char error[32];
  std::snprintf(error, sizeof error, "%.3g", lod.errorBound);
  return lod.name + " from " + model + ": " + std::to_string(lod.trianglesBefore) + " to " +
         std::to_string(lod.trianglesAfter) + " triangles, within " + error + " m";
}

}  // namespace mapexport
