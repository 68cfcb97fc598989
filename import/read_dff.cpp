// ReadDff: the clump's records, as dff_inspect decodes them, turned into the
// import model.
#include <map>
#include <set>

#include "dff/chunk_type.h"
#include "import/collision_entry.h"
#include "import/game_files.h"
#include "import/refusal.h"

namespace import {
namespace {

using dff::ChunkType;

// Data the model may hold that the importer does not carry, by the chunk
// that holds it.
const std::map<std::uint32_t, const char*>& LostKinds() {
  static const std::map<std::uint32_t, const char*> kinds{
      {0x116, "skinning (bone weights): the mesh comes in at rest, without its bones"},
      {0x11E, "bone hierarchy (HAnim): frames come in as plain items"},
      {0x135, "UV animation"},
      {0x2B, "UV animation dictionary"},
      {0x0253F2F8, "2dfx entries (lights, particles and other effects)"},
      {0x0253F2F3, "pipeline choices"},
  };
  return kinds;
}

void FindLostKinds(const std::vector<dffinfo::Chunk>& chunks, std::set<std::uint32_t>& found) {
  for (const dffinfo::Chunk& chunk : chunks) {
    if (LostKinds().count(chunk.type) != 0) found.insert(chunk.type);
    FindLostKinds(chunk.children, found);
  }
}

std::vector<std::string> LostKindWarnings(const dffinfo::Inspection& inspection, const dffinfo::ClumpRecord& clump,
                                          const std::string& path) {
  std::set<std::uint32_t> found;
  FindLostKinds(inspection.chunks, found);
  std::vector<std::string> warnings;
  for (std::uint32_t type : found) {
    warnings.push_back(path + ": the model holds " + LostKinds().at(type) + ", which the import does not carry");
  }
  bool breakable = false;
  bool morphs = false;
  for (const dffinfo::GeometryRecord& g : clump.geometries) {
    breakable = breakable || (g.breakable && *g.breakable != 0);
    morphs = morphs || g.morphTargets.size() > 1;
  }
  if (breakable) warnings.push_back(path + ": the model holds breakable parts, which the import does not carry");
  if (morphs) warnings.push_back(path + ": the model holds morph targets; only the first comes in");
  return warnings;
}

std::string FrameName(const dffinfo::FrameRecord& record, std::size_t index) {
  if (record.name) return *record.name;
  return "frame" + std::to_string(index);
}

Frame ToFrame(const dffinfo::FrameRecord& record, std::size_t index) {
  Frame frame;
  frame.name = FrameName(record, index);
  frame.parent = record.parent;
  for (std::size_t r = 0; r < 3; ++r) {
    for (std::size_t c = 0; c < 3; ++c) frame.rotation[r][c] = record.rotation[r * 3 + c];
  }
  frame.position = record.position;
  return frame;
}

Material ToMaterial(const dffinfo::MaterialRecord& record) {
  Material material;
  material.color = record.rgba;
  if (record.texture && record.textured != 0) {
    material.texture = record.texture->name;
    material.mask = record.texture->mask;
  }
  if (record.effects) {
    if (const dffinfo::EffectSlot* environment = record.effects->EnvironmentMap()) {
      material.environmentCoefficient = environment->coefficient;
      material.environmentTexture = environment->texture ? environment->texture->name : std::string();
    }
  }
  if (record.specular) material.specularLevel = record.specular->level;
  if (record.reflection) material.reflection = record.reflection->values;
  return material;
}

// A slot that shares an earlier slot's material takes it; the decoder has
// checked that the index names an earlier slot with a material of its own.
std::vector<Material> ToMaterials(const dffinfo::MaterialListRecord& list) {
  std::vector<Material> own;
  for (const dffinfo::MaterialRecord& record : list.materials) own.push_back(ToMaterial(record));
  std::vector<Material> slots;
  std::size_t next = 0;
  for (std::int32_t slot : list.slots) {
    if (slot < 0) {
      slots.push_back(next < own.size() ? own[next++] : Material{});
    } else {
      slots.push_back(slots.at(static_cast<std::size_t>(slot)));
    }
  }
  return slots;
}

Geometry ToGeometry(const dffinfo::GeometryRecord& record) {
  Geometry geometry;
  if (!record.morphTargets.empty()) {
    geometry.positions = record.morphTargets[0].positions;
    geometry.normals = record.morphTargets[0].normals;
  }
  geometry.uvSets = record.uvSets;
  geometry.dayColors = record.prelight;
  if (record.nightColors && record.nightColors->hasColors != 0) geometry.nightColors = record.nightColors->colors;
  geometry.triangles.reserve(record.triangles.size());
  for (const dffinfo::Triangle& t : record.triangles) geometry.triangles.push_back({{t.a, t.b, t.c}, t.material});
  if (record.materialList) geometry.materials = ToMaterials(*record.materialList);
  return geometry;
}

// What a model must be for the import to carry it at all.
std::string Unreadable(const dffinfo::Inspection& inspection, const std::string& path) {
  if (inspection.clumps.empty()) {
    return path + ": the file holds no clump (a texture dictionary?): open the DFF model, whose TXD comes with it";
  }
  if (inspection.clumps.size() > 1) {
    return path + ": the file holds " + std::to_string(inspection.clumps.size()) +
           " clumps; the import reads files of one clump: split the file into one DFF per clump";
  }
  const dffinfo::ClumpRecord& clump = inspection.clumps[0];
  for (std::size_t i = 0; i < clump.geometries.size(); ++i) {
    if (clump.geometries[i].native()) {
      return path + ": geometry " + std::to_string(i) +
             " is stored in a console's native form, which only that platform reads: open the PC model";
    }
  }
  for (std::size_t i = 0; i < clump.geometries.size(); ++i) {
    const dffinfo::GeometryRecord& g = clump.geometries[i];
    if (g.triangles.empty() && g.binMesh && g.binMesh->totalIndexCount > 0) {
      return path + ": geometry " + std::to_string(i) +
             " keeps its triangles only in its BinMesh, which the import does not read";
    }
  }
  return {};
}

// The lists the LightWave side indexes by vertex must hold a value for
// every vertex; the night colours may hold fewer, and are then dropped.
std::string Inconsistent(Model& model, const std::string& path, std::vector<std::string>& warnings) {
  for (std::size_t i = 0; i < model.geometries.size(); ++i) {
    Geometry& g = model.geometries[i];
    const std::size_t n = g.positions.size();
    bool sound = (g.normals.empty() || g.normals.size() == n) && (g.dayColors.empty() || g.dayColors.size() == n);
    for (const auto& set : g.uvSets) sound = sound && set.size() == n;
    for (const Triangle& t : g.triangles) {
      sound = sound && t.corners[0] < n && t.corners[1] < n && t.corners[2] < n;
    }
    if (!sound) {
      return path + ": geometry " + std::to_string(i) +
             " lists fewer values than vertices, or names a vertex it lacks: the file cannot be imported";
    }
    if (!g.nightColors.empty() && g.nightColors.size() != n) {
      warnings.push_back(path + ": geometry " + std::to_string(i) + " has " + std::to_string(g.nightColors.size()) +
                         " night colours for " + std::to_string(n) + " vertices; they are left out");
      g.nightColors.clear();
    }
  }
  for (const Atomic& a : model.atomics) {
    if (a.frame < 0 || static_cast<std::size_t>(a.frame) >= model.frames.size() || a.geometry < 0 ||
        static_cast<std::size_t>(a.geometry) >= model.geometries.size()) {
      return path + ": an atomic names a frame or geometry the clump lacks: the file cannot be imported";
    }
  }
  return {};
}

}  // namespace

Read<Model> ReadDff(const std::vector<std::uint8_t>& bytes, const std::string& path) {
  Read<Model> result;
  const dffinfo::Inspection inspection = dffinfo::Inspect(bytes);
  result.error = DamageMessage(inspection, path);
  if (result.error.empty()) result.error = Unreadable(inspection, path);
  if (!result.error.empty()) return result;

  const dffinfo::ClumpRecord& clump = inspection.clumps[0];
  Model model;
  for (std::size_t i = 0; i < clump.frames.size(); ++i) model.frames.push_back(ToFrame(clump.frames[i], i));
  for (const dffinfo::GeometryRecord& g : clump.geometries) model.geometries.push_back(ToGeometry(g));
  for (const dffinfo::AtomicRecord& a : clump.atomics) {
    model.atomics.push_back({static_cast<std::int32_t>(a.frameIndex), static_cast<std::int32_t>(a.geometryIndex)});
  }
  if (!clump.collisions.empty() && !inspection.colEntries.empty()) {
    const dffinfo::CollisionRecord& record = clump.collisions[0];
    const std::size_t payload = record.origin.offset + dff::kChunkHeaderSize;
    model.collision = ToCollision(inspection.colEntries[0], bytes.data() + payload, record.size);
  }
  result.warnings = LostKindWarnings(inspection, clump, path);
  result.error = Inconsistent(model, path, result.warnings);
  if (!result.error.empty()) return result;
  result.value = std::move(model);
  return result;
}

}  // namespace import
