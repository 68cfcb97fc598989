#include "render/model_scene.h"

#include <cmath>
#include <cstddef>

#include "render/frame_matrices.h"

namespace render {
namespace {

constexpr std::uint32_t kDefaultMaterial = 0;
// Texture addressing modes of a Texture record's filter word.
constexpr std::uint32_t kAddressClamp = 3;
constexpr std::uint32_t kAddressBorder = 4;

bool Finite(const Vec3& v) { return std::isfinite(v[0]) && std::isfinite(v[1]) && std::isfinite(v[2]); }

Vec3 Unit(const Vec3& v) {
  const float length = std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
  if (!(length > 0.0f) || !std::isfinite(length)) return {0.0f, 0.0f, 0.0f};
  return {v[0] / length, v[1] / length, v[2] / length};
}

bool Clamps(std::uint32_t mode) { return mode == kAddressClamp || mode == kAddressBorder; }

SceneMaterial MaterialOf(const dffinfo::MaterialRecord& record, const DecodedTextures& textures) {
  SceneMaterial material;
  material.colour = record.rgba;
  if (record.texture) {
    const auto found = textures.byName.find(TextureKey(record.texture->name));
    if (found != textures.byName.end()) material.texture = &found->second;
    material.clampU = Clamps((record.texture->filterWord >> 8) & 0xFu);
    material.clampV = Clamps((record.texture->filterWord >> 12) & 0xFu);
  }
  const TextureAlpha alpha = material.texture ? material.texture->alpha : TextureAlpha::kOpaque;
  if (material.colour[3] < 255 || alpha == TextureAlpha::kTranslucent) {
    material.coverage = Coverage::kBlended;
  } else if (alpha == TextureAlpha::kCutOut) {
    material.coverage = Coverage::kAlphaTested;
  }
  return material;
}

// The scene material of each of the geometry's material slots.  A slot
// that shares a later or missing slot gets the plain white material.
std::vector<std::uint32_t> AddMaterials(const dffinfo::GeometryRecord& geometry, const DecodedTextures& textures,
                                        ModelScene& scene) {
  std::vector<std::uint32_t> ofSlot;
  if (!geometry.materialList) return ofSlot;
  const dffinfo::MaterialListRecord& list = *geometry.materialList;
  std::size_t own = 0;
  for (std::size_t slot = 0; slot < list.slots.size(); ++slot) {
    const std::int32_t shared = list.slots[slot];
    if (shared >= 0) {
      const bool earlier = static_cast<std::size_t>(shared) < slot;
      ofSlot.push_back(earlier ? ofSlot[static_cast<std::size_t>(shared)] : kDefaultMaterial);
    } else if (own < list.materials.size()) {
      ofSlot.push_back(static_cast<std::uint32_t>(scene.materials.size()));
      scene.materials.push_back(MaterialOf(list.materials[own++], textures));
    } else {
      ofSlot.push_back(kDefaultMaterial);
    }
  }
  return ofSlot;
}

void AddVertices(const dffinfo::GeometryRecord& geometry, const Placement& placement, ModelScene& scene) {
  const dffinfo::MorphTarget& shape = geometry.morphTargets.front();
  const std::size_t count = shape.positions.size();
  const bool normals = shape.hasNormals && shape.normals.size() == count;
  const bool uvs = !geometry.uvSets.empty() && geometry.uvSets.front().size() == count;
  const bool prelit = (geometry.flags() & dffinfo::kPrelit) != 0 && geometry.prelight.size() == count;
  const bool night = prelit && geometry.nightColors && geometry.nightColors->hasColors != 0 &&
                     geometry.nightColors->colors.size() == count;
  for (std::size_t i = 0; i < count; ++i) {
    SceneVertex v;
    v.position = placement.Place(shape.positions[i]);
    if (normals) v.normal = Unit(placement.Turn(shape.normals[i]));
    if (uvs) v.uv = geometry.uvSets.front()[i];
    if (prelit) {
      v.prelit = true;
      v.day = geometry.prelight[i];
      v.night = night ? geometry.nightColors->colors[i] : v.day;
    }
    scene.vertices.push_back(v);
  }
}

void AddTriangles(const dffinfo::GeometryRecord& geometry, std::size_t base,
                  const std::vector<std::uint32_t>& materialOfSlot, ModelScene& scene) {
  const std::size_t count = scene.vertices.size() - base;
  for (const dffinfo::Triangle& t : geometry.triangles) {
    if (t.a >= count || t.b >= count || t.c >= count) continue;
    SceneTriangle triangle{static_cast<std::uint32_t>(base + t.a), static_cast<std::uint32_t>(base + t.b),
                           static_cast<std::uint32_t>(base + t.c), kDefaultMaterial};
    if (!Finite(scene.vertices[triangle.a].position) || !Finite(scene.vertices[triangle.b].position) ||
        !Finite(scene.vertices[triangle.c].position)) {
      continue;
    }
    if (t.material < materialOfSlot.size()) triangle.material = materialOfSlot[t.material];
    scene.triangles.push_back(triangle);
  }
}

// Normals for the vertices of a geometry that stores none, from the faces
// around them weighted by their area.
void SmoothNormals(std::size_t firstVertex, std::size_t firstTriangle, ModelScene& scene) {
  std::vector<SceneVertex>& v = scene.vertices;
  for (std::size_t i = firstTriangle; i < scene.triangles.size(); ++i) {
    const SceneTriangle& t = scene.triangles[i];
    const Vec3& a = v[t.a].position;
    const Vec3& b = v[t.b].position;
    const Vec3& c = v[t.c].position;
    const Vec3 e1{b[0] - a[0], b[1] - a[1], b[2] - a[2]};
    const Vec3 e2{c[0] - a[0], c[1] - a[1], c[2] - a[2]};
    const Vec3 n{e1[1] * e2[2] - e1[2] * e2[1], e1[2] * e2[0] - e1[0] * e2[2], e1[0] * e2[1] - e1[1] * e2[0]};
    for (const std::uint32_t corner : {t.a, t.b, t.c}) {
      for (std::size_t k = 0; k < 3; ++k) v[corner].normal[k] += n[k];
    }
  }
  for (std::size_t i = firstVertex; i < v.size(); ++i) v[i].normal = Unit(v[i].normal);
}

}  // namespace

ModelScene LayOutClump(const dffinfo::ClumpRecord& clump, const DecodedTextures& textures) {
  ModelScene scene;
  scene.materials.push_back(SceneMaterial{});
  const std::vector<Placement> placements = WorldPlacements(clump.frames);
  for (const dffinfo::AtomicRecord& atomic : clump.atomics) {
    if (atomic.geometryIndex >= clump.geometries.size()) continue;
    const dffinfo::GeometryRecord& geometry = clump.geometries[atomic.geometryIndex];
    if (geometry.native() || geometry.morphTargets.empty() || !geometry.morphTargets.front().hasPositions) continue;
    const Placement placement =
        atomic.frameIndex < placements.size() ? placements[atomic.frameIndex] : Placement{};
    const std::size_t firstVertex = scene.vertices.size();
    const std::size_t firstTriangle = scene.triangles.size();
    const std::vector<std::uint32_t> materialOfSlot = AddMaterials(geometry, textures, scene);
    AddVertices(geometry, placement, scene);
    AddTriangles(geometry, firstVertex, materialOfSlot, scene);
    const dffinfo::MorphTarget& shape = geometry.morphTargets.front();
    const bool prelit = firstVertex < scene.vertices.size() && scene.vertices[firstVertex].prelit;
    const bool storedNormals = shape.hasNormals && shape.normals.size() == shape.positions.size();
    if (!prelit && !storedNormals) SmoothNormals(firstVertex, firstTriangle, scene);
  }
  return scene;
}

}  // namespace render
