#include "tools/dffinfo/json_printer.h"

#include "dff_inspect/chunk_names.h"
#include "dff_inspect/effect_names.h"
#include "tools/dffinfo/col_json_printer.h"
#include "tools/dffinfo/txd_json_printer.h"

namespace dffinfo {
namespace {

using nlohmann::json;

json OriginJson(const Origin& origin) { return {{"path", origin.path}, {"offset", origin.offset}}; }

json ChunkJson(const Chunk& chunk) {
  const char* name = TypeName(chunk.type);
  json result = {{"type", chunk.type},
                 {"name", name ? json(name) : json(nullptr)},
                 {"size", chunk.size},
                 {"version", chunk.version},
                 {"versionText", DescribeVersion(chunk.version)},
                 {"offset", chunk.offset},
                 {"path", chunk.path}};
  json children = json::array();
  for (const Chunk& child : chunk.children) children.push_back(ChunkJson(child));
  result["children"] = std::move(children);
  return result;
}

template <typename T, typename F>
json ArrayJson(const std::vector<T>& items, F convert) {
  json result = json::array();
  for (const T& item : items) result.push_back(convert(item));
  return result;
}

json SurfaceJson(const std::optional<SurfaceProperties>& surface) {
  if (!surface) return nullptr;
  return {{"ambient", surface->ambient},
          {"specular", surface->specular},
          {"diffuse", surface->diffuse}};
}

json TextureJson(const std::optional<TextureRecord>& t) {
  if (!t) return nullptr;
  return {{"origin", OriginJson(t->origin)},
          {"filterWord", t->filterWord},
          {"name", t->name},
          {"mask", t->mask}};
}

json EffectsJson(const std::optional<MaterialEffectsRecord>& effects) {
  if (!effects) return nullptr;
  json slots = ArrayJson(effects->slots, [](const EffectSlot& s) {
    return json{{"type", s.type},
                {"coefficient", s.coefficient},
                {"frameBufferAlpha", s.frameBufferAlpha},
                {"sourceBlend", s.sourceBlend},
                {"destinationBlend", s.destinationBlend},
                {"bumpedTexture", TextureJson(s.bumpedTexture)},
                {"texture", TextureJson(s.texture)}};
  });
  return {{"origin", OriginJson(effects->origin)},
          {"effectType", effects->effectType},
          {"slots", std::move(slots)}};
}

json MaterialJson(const MaterialRecord& m) {
  return {{"origin", OriginJson(m.origin)},
          {"flags", m.flags},
          {"rgba", m.rgba},
          {"unused", m.unused},
          {"textured", m.textured},
          {"surface", SurfaceJson(m.surface)},
          {"texture", TextureJson(m.texture)},
          {"effects", EffectsJson(m.effects)},
          {"reflection", m.reflection ? json(m.reflection->values) : json(nullptr)},
          {"specular", m.specular ? json{{"level", m.specular->level},
                                         {"textureName", m.specular->textureName}}
                                  : json(nullptr)},
          {"otherPlugins", m.otherPlugins}};
}

json TriangleJson(const Triangle& t) { return json::array({t.a, t.b, t.c, t.material}); }

json MorphTargetJson(const MorphTarget& t) {
  return {{"sphereCentre", t.sphereCentre}, {"sphereRadius", t.sphereRadius},
          {"hasPositions", t.hasPositions}, {"hasNormals", t.hasNormals},
          {"positions", t.positions},       {"normals", t.normals}};
}

json BinMeshJson(const std::optional<BinMeshRecord>& mesh) {
  if (!mesh) return nullptr;
  json splits = ArrayJson(mesh->splits, [](const BinMeshSplit& s) {
    return json{{"indexCount", s.indexCount}, {"material", s.material}, {"indices", s.indices}};
  });
  return {{"origin", OriginJson(mesh->origin)},
          {"flags", mesh->flags},
          {"splitCount", mesh->splitCount},
          {"totalIndexCount", mesh->totalIndexCount},
          {"splits", std::move(splits)}};
}

json NightColorsJson(const std::optional<NightColorsRecord>& night) {
  if (!night) return nullptr;
  return {{"origin", OriginJson(night->origin)}, {"hasColors", night->hasColors}, {"colors", night->colors}};
}

json LightEffectJson(const LightEffectRecord& light) {
  return {{"color", light.color},
          {"coronaFarClip", light.coronaFarClip},
          {"pointLightRange", light.pointLightRange},
          {"coronaSize", light.coronaSize},
          {"shadowSize", light.shadowSize},
          {"coronaShowMode", light.coronaShowMode},
          {"coronaShowModeName", ShowModeName(light.coronaShowMode)},
          {"coronaReflection", light.coronaReflection},
          {"coronaFlareType", light.coronaFlareType},
          {"coronaFlareName", FlareName(light.coronaFlareType)},
          {"shadowColorMultiplier", light.shadowColorMultiplier},
          {"flags1", light.flags1},
          {"flags2", light.flags2},
          {"flagNames", LightFlagNames(light.flags1, light.flags2)},
          {"coronaTexture", light.coronaTexture},
          {"shadowTexture", light.shadowTexture},
          {"shadowZDistance", light.shadowZDistance},
          {"lookDirection", light.lookDirection ? json(*light.lookDirection) : json(nullptr)}};
}

json Effects2dJson(const std::optional<Effects2dRecord>& record) {
  if (!record) return nullptr;
  json entries = ArrayJson(record->entries, [](const Effect2dRecord& e) {
    return json{{"offset", e.offset},
                {"position", e.position},
                {"type", e.type},
                {"typeName", EffectTypeName(e.type)},
                {"size", e.size},
                {"light", e.light ? LightEffectJson(*e.light) : json(nullptr)},
                {"particle", e.particle ? json(*e.particle) : json(nullptr)}};
  });
  return {{"origin", OriginJson(record->origin)}, {"count", record->count}, {"entries", std::move(entries)}};
}

json GeometryJson(const GeometryRecord& g) {
  json materials = nullptr;
  if (g.materialList) {
    materials = {{"origin", OriginJson(g.materialList->origin)},
                 {"slots", g.materialList->slots},
                 {"materials", ArrayJson(g.materialList->materials, MaterialJson)}};
  }
  return {{"origin", OriginJson(g.origin)},
          {"format", g.format},
          {"uvSetCount", g.uvSetCountByte()},
          {"triangleCount", g.triangleCount},
          {"vertexCount", g.vertexCount},
          {"morphTargetCount", g.morphTargetCount},
          {"surface", SurfaceJson(g.surface)},
          {"prelight", g.prelight},
          {"uvSets", g.uvSets},
          {"triangles", ArrayJson(g.triangles, TriangleJson)},
          {"morphTargets", ArrayJson(g.morphTargets, MorphTargetJson)},
          {"materialList", std::move(materials)},
          {"binMesh", BinMeshJson(g.binMesh)},
          {"breakable", g.breakable ? json(*g.breakable) : json(nullptr)},
          {"nightColors", NightColorsJson(g.nightColors)},
          {"effects2d", Effects2dJson(g.effects)},
          {"otherPlugins", g.otherPlugins}};
}

json FrameJson(const FrameRecord& f) {
  return {{"rotation", f.rotation},
          {"position", f.position},
          {"parent", f.parent},
          {"matrixFlags", f.matrixFlags},
          {"name", f.name ? json(*f.name) : json(nullptr)}};
}

json AtomicJson(const AtomicRecord& a) {
  json rights = nullptr;
  if (a.rightToRender) {
    rights = {{"pluginId", a.rightToRender->pluginId},
              {"extraData", a.rightToRender->extraData}};
  }
  return {{"origin", OriginJson(a.origin)},
          {"frameIndex", a.frameIndex},
          {"geometryIndex", a.geometryIndex},
          {"flags", a.flags},
          {"unused", a.unused},
          {"rightToRender", std::move(rights)},
          {"materialEffects", a.materialEffects ? json(*a.materialEffects) : json(nullptr)},
          {"otherPlugins", a.otherPlugins}};
}

json ClumpJson(const ClumpRecord& c) {
  json collisions = ArrayJson(c.collisions, [](const CollisionRecord& r) {
    return json{{"origin", OriginJson(r.origin)}, {"type", r.type}, {"size", r.size}};
  });
  return {{"origin", OriginJson(c.origin)},
          {"atomicCount", c.atomicCount},
          {"lightCount", c.lightCount ? json(*c.lightCount) : json(nullptr)},
          {"cameraCount", c.cameraCount ? json(*c.cameraCount) : json(nullptr)},
          {"frames", ArrayJson(c.frames, FrameJson)},
          {"geometries", ArrayJson(c.geometries, GeometryJson)},
          {"atomics", ArrayJson(c.atomics, AtomicJson)},
          {"collisions", std::move(collisions)},
          {"otherPlugins", c.otherPlugins}};
}

json FindingJson(const Finding& f) {
  return {{"severity", f.severity == Severity::Damage ? "damage" : "warning"},
          {"path", f.path},
          {"offset", f.offset},
          {"message", f.message}};
}

}  // namespace

json ToJson(const Inspection& inspection, bool full) {
  json result = {{"sound", inspection.sound()},
                 {"findings", ArrayJson(inspection.findings.all(), FindingJson)}};
  if (full) {
    result["chunks"] = ArrayJson(inspection.chunks, ChunkJson);
    result["clumps"] = ArrayJson(inspection.clumps, ClumpJson);
    result["dictionaries"] = ArrayJson(inspection.dictionaries, DictionaryJson);
    result["colEntries"] = ColEntriesJson(inspection.colEntries);
  }
  return result;
}

}  // namespace dffinfo
