#include "tools/dffinfo/text_printer.h"

#include "tools/dffinfo/col_text_printer.h"
#include "tools/dffinfo/txd_text_printer.h"

#include <cstdio>
#include <string>

#include "dff_inspect/chunk_names.h"
#include "dff_inspect/effect_names.h"

namespace dffinfo {
namespace {

std::string Hex(std::uint32_t value) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%08X", value);
  return text;
}

std::string ByteHex(std::uint8_t value) {
  char text[8];
  std::snprintf(text, sizeof text, "0x%02X", value);
  return text;
}

std::string Indent(int depth) { return std::string(static_cast<std::size_t>(depth) * 2, ' '); }

void PrintChunk(std::ostream& out, const Chunk& chunk, int depth) {
  const char* name = TypeName(chunk.type);
  out << Indent(depth) << (name ? name : "unknown") << " (" << Hex(chunk.type) << ")  size "
      << chunk.size << "  at " << chunk.offset << "  " << DescribeVersion(chunk.version) << "\n";
  for (const Chunk& child : chunk.children) PrintChunk(out, child, depth + 1);
}

void PrintTypes(std::ostream& out, const char* label, const std::vector<std::uint32_t>& types) {
  if (types.empty()) return;
  out << label;
  for (std::uint32_t type : types) out << " " << PathName(type);
  out << "\n";
}

void PrintFrames(std::ostream& out, const std::vector<FrameRecord>& frames) {
  out << "  frames: " << frames.size() << "\n";
  for (std::size_t i = 0; i < frames.size(); ++i) {
    const FrameRecord& f = frames[i];
    out << "    [" << i << "] " << (f.name ? "\"" + *f.name + "\"" : "(no name)") << "  parent "
        << f.parent << "  flags " << Hex(f.matrixFlags) << "\n      rotation";
    for (std::size_t k = 0; k < f.rotation.size(); ++k) {
      out << (k % 3 == 0 && k > 0 ? " |" : "") << " " << f.rotation[k];
    }
    out << "  position " << f.position[0] << " " << f.position[1] << " " << f.position[2] << "\n";
  }
}

void PrintTexture(std::ostream& out, const char* label, const TextureRecord& t) {
  out << "          " << label << " \"" << t.name << "\"  mask \"" << t.mask << "\"  filter "
      << Hex(t.filterWord) << "\n";
}

void PrintEffects(std::ostream& out, const MaterialEffectsRecord& effects) {
  out << "          effects type " << effects.effectType << "\n";
  for (const EffectSlot& slot : effects.slots) {
    if (slot.type == kEffectNone) continue;
    out << "            effect " << slot.type;
    if (slot.type == kEffectBumpMap || slot.type == kEffectEnvironmentMap) {
      out << "  coefficient " << slot.coefficient;
    }
    if (slot.type == kEffectEnvironmentMap) out << "  frame buffer alpha " << slot.frameBufferAlpha;
    if (slot.type == kEffectDualPass) {
      out << "  blend " << slot.sourceBlend << " " << slot.destinationBlend;
    }
    out << "\n";
    if (slot.bumpedTexture) PrintTexture(out, "  bumped texture", *slot.bumpedTexture);
    if (slot.texture) PrintTexture(out, "  texture", *slot.texture);
  }
}

void PrintMaterial(std::ostream& out, std::size_t index, const MaterialRecord& m) {
  out << "        material " << index << "  colour " << int{m.rgba[0]} << " " << int{m.rgba[1]}
      << " " << int{m.rgba[2]} << " " << int{m.rgba[3]} << "  textured " << m.textured;
  if (m.surface) {
    out << "  ambient " << m.surface->ambient << " specular " << m.surface->specular
        << " diffuse " << m.surface->diffuse;
  }
  out << "\n";
  if (m.texture) PrintTexture(out, "texture", *m.texture);
  if (m.effects) PrintEffects(out, *m.effects);
  if (m.reflection) {
    out << "          reflection";
    for (float v : m.reflection->values) out << " " << v;
    out << "\n";
  }
  if (m.specular) {
    out << "          specular " << m.specular->level << " \"" << m.specular->textureName << "\"\n";
  }
  PrintTypes(out, "          other plug-ins:", m.otherPlugins);
}

void PrintBinMesh(std::ostream& out, const BinMeshRecord& mesh) {
  out << "      bin mesh: " << (mesh.flags == 1 ? "strips" : "list") << " (flags " << mesh.flags
      << "), " << mesh.splitCount << " splits, " << mesh.totalIndexCount << " indices\n";
  for (const BinMeshSplit& split : mesh.splits) {
    out << "        material " << split.material << ": " << split.indexCount << " indices\n";
  }
}

void PrintLight(std::ostream& out, const LightEffectRecord& light) {
  out << "  colour " << int{light.color[0]} << " " << int{light.color[1]} << " " << int{light.color[2]} << " "
      << int{light.color[3]} << "  range " << light.pointLightRange << "\n";
  out << "            corona size " << light.coronaSize << " far clip " << light.coronaFarClip << " texture \""
      << light.coronaTexture << "\"  show mode " << int{light.coronaShowMode} << " ("
      << ShowModeName(light.coronaShowMode) << ")  reflection " << int{light.coronaReflection} << "  flare "
      << int{light.coronaFlareType} << " (" << FlareName(light.coronaFlareType) << ")\n";
  out << "            shadow size " << light.shadowSize << " texture \"" << light.shadowTexture
      << "\" colour multiplier " << int{light.shadowColorMultiplier} << " z distance "
      << int{light.shadowZDistance} << "\n";
  out << "            flags1 " << ByteHex(light.flags1) << " flags2 " << ByteHex(light.flags2);
  const std::vector<std::string> names = LightFlagNames(light.flags1, light.flags2);
  for (std::size_t i = 0; i < names.size(); ++i) out << (i == 0 ? ": " : ", ") << names[i];
  if (light.lookDirection) {
    const auto& look = *light.lookDirection;
    out << "  look direction " << int{look[0]} << " " << int{look[1]} << " " << int{look[2]};
  }
  out << "\n";
}

void PrintEffects2d(std::ostream& out, const Effects2dRecord& record) {
  out << "      2d effects: " << record.count << "\n";
  for (std::size_t i = 0; i < record.entries.size(); ++i) {
    const Effect2dRecord& entry = record.entries[i];
    out << "        [" << i << "] " << EffectTypeName(entry.type) << " at " << entry.position[0] << " "
        << entry.position[1] << " " << entry.position[2] << "  (" << entry.size << " bytes)";
    if (entry.light) {
      PrintLight(out, *entry.light);
    } else if (entry.particle) {
      out << "  effect \"" << *entry.particle << "\"\n";
    } else {
      out << "\n";
    }
  }
}

void PrintGeometry(std::ostream& out, std::size_t index, const GeometryRecord& g) {
  out << "    [" << index << "] format " << Hex(g.format) << "  UV sets " << g.uvSetCountByte()
      << "  triangles " << g.triangleCount << "  vertices " << g.vertexCount
      << "  morph targets " << g.morphTargetCount << "\n";
  if (g.surface) {
    out << "      surface ambient " << g.surface->ambient << " specular " << g.surface->specular
        << " diffuse " << g.surface->diffuse << "\n";
  }
  out << "      prelight colours " << (g.prelight.empty() ? "no" : "yes") << "  night colours "
      << (g.nightColors && g.nightColors->hasColors != 0 ? "yes" : "no") << "\n";
  for (const MorphTarget& t : g.morphTargets) {
    out << "      sphere centre " << t.sphereCentre[0] << " " << t.sphereCentre[1] << " "
        << t.sphereCentre[2] << " radius " << t.sphereRadius << "  positions "
        << (t.hasPositions ? "yes" : "no") << "  normals " << (t.hasNormals ? "yes" : "no")
        << "\n";
  }
  if (g.materialList) {
    out << "      material slots " << g.materialList->slots.size() << ", materials "
        << g.materialList->materials.size() << "\n";
    for (std::size_t m = 0; m < g.materialList->materials.size(); ++m) {
      PrintMaterial(out, m, g.materialList->materials[m]);
    }
  }
  if (g.binMesh) PrintBinMesh(out, *g.binMesh);
  if (g.breakable) out << "      breakable " << *g.breakable << "\n";
  if (g.effects) PrintEffects2d(out, *g.effects);
  PrintTypes(out, "      other plug-ins:", g.otherPlugins);
}

void PrintAtomics(std::ostream& out, const std::vector<AtomicRecord>& atomics) {
  out << "  atomics: " << atomics.size() << "\n";
  for (std::size_t i = 0; i < atomics.size(); ++i) {
    const AtomicRecord& a = atomics[i];
    out << "    [" << i << "] frame " << a.frameIndex << "  geometry " << a.geometryIndex
        << "  flags " << a.flags;
    if (a.rightToRender) {
      out << "  right to render " << Hex(a.rightToRender->pluginId) << " "
          << a.rightToRender->extraData;
    }
    if (a.materialEffects) out << "  material effects " << *a.materialEffects;
    out << "\n";
    PrintTypes(out, "      other plug-ins:", a.otherPlugins);
  }
}

void PrintClump(std::ostream& out, std::size_t index, const ClumpRecord& clump) {
  out << "clump " << index << " (" << clump.origin.path << ")\n  atomic count "
      << clump.atomicCount;
  if (clump.lightCount) out << "  lights " << *clump.lightCount;
  if (clump.cameraCount) out << "  cameras " << *clump.cameraCount;
  out << "\n";
  PrintFrames(out, clump.frames);
  out << "  geometries: " << clump.geometries.size() << "\n";
  for (std::size_t g = 0; g < clump.geometries.size(); ++g) {
    PrintGeometry(out, g, clump.geometries[g]);
  }
  PrintAtomics(out, clump.atomics);
  for (const CollisionRecord& c : clump.collisions) {
    out << "  collision " << PathName(c.type) << ": " << c.size << " bytes\n";
  }
  PrintTypes(out, "  other plug-ins:", clump.otherPlugins);
}

}  // namespace

void PrintText(std::ostream& out, const Inspection& inspection) {
  // A COL file has no chunks to list.
  if (!inspection.chunks.empty() || inspection.colEntries.empty()) {
    out << "chunks:\n";
    for (const Chunk& chunk : inspection.chunks) PrintChunk(out, chunk, 1);
  }
  for (std::size_t i = 0; i < inspection.clumps.size(); ++i) {
    PrintClump(out, i, inspection.clumps[i]);
  }
  for (std::size_t i = 0; i < inspection.dictionaries.size(); ++i) {
    PrintDictionary(out, i, inspection.dictionaries[i]);
  }
  PrintColEntries(out, inspection.colEntries);
}

void PrintFindings(std::ostream& out, const Inspection& inspection) {
  for (Severity severity : {Severity::Damage, Severity::Warning}) {
    for (const Finding& finding : inspection.findings.all()) {
      if (finding.severity == severity) out << Describe(finding) << "\n";
    }
  }
}

}  // namespace dffinfo
