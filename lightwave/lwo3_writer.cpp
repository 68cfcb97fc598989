#include "lightwave/lwo3_writer.h"

#include <algorithm>
#include <fstream>
#include <stdexcept>

#include "lightwave/iff_writer.h"
#include "lightwave/lwo_geometry_writer.h"

namespace host {
namespace {

constexpr std::uint32_t kForm = MakeId("FORM");
constexpr std::uint32_t kAnonymous = MakeId("    ");

const char kSurfaceNode[] = "Surface (1)";
const char kStandardNode[] = "Standard (1)";
const char kPrincipledNode[] = "Principled BSDF (1)";
const char kImageNode[] = "Image (1)";

// Every LWO3 item has a four-byte length; a form adds its type.
class Lwo3Out {
 public:
  explicit Lwo3Out(IffWriter& out) : out_(out) {}
  IffWriter& raw() { return out_; }
  void BeginForm(const char (&type)[5]) {
    out_.Begin(kForm, IffLength::kU4);
    out_.Id4(MakeId(type));
  }
  void BeginChunk(const char (&id)[5]) { out_.Begin(MakeId(id), IffLength::kU4); }
  void BeginAnonymous() { out_.Begin(kAnonymous, IffLength::kU4); }
  void End() { out_.End(); }
  void Text(const char (&id)[5], const std::string& text) {
    BeginChunk(id);
    out_.S0(text);
    End();
  }
  void Number(const char (&id)[5], std::uint32_t value) {
    BeginChunk(id);
    out_.U4(value);
    End();
  }

 private:
  IffWriter& out_;
};

// FORM CLIP { [ANON index] FORM STIL { ANON path } FLAG }: top-level clips
// have an index, inline ones do not.
void WriteClip(Lwo3Out& out, const std::string& path, const std::optional<std::uint32_t>& index) {
  out.BeginForm("CLIP");
  if (index) {
    out.BeginAnonymous();
    out.raw().U4(*index);
    out.End();
  }
  out.BeginForm("STIL");
  out.BeginAnonymous();
  out.raw().S0(path);
  out.End();
  out.End();
  out.Number("FLAG", 0x80);
  out.End();
}

// Clips a reflection map uses and no colour layer does are held inline
// only.
bool OnlyInline(const Lwo2Object& object, std::uint32_t index) {
  bool reflection = false;
  for (const Lwo2Surface& surface : object.surfaces) {
    if (surface.reflectionClip == index) reflection = true;
    for (const Lwo2TextureLayer& layer : surface.colorLayers) {
      if (layer.clip == index) return false;
    }
  }
  return reflection;
}

// A LWO2 block with each sub-chunk that ends in an envelope made a form,
// the header's own data in an anonymous chunk, and CHAN reading txtr.
void WriteBlock(Lwo3Out& out, const Lwo2TextureLayer& layer, std::size_t position) {
  out.BeginForm("BLOK");
  switch (layer.type) {
    case TextureLayerType::kProcedural: out.BeginForm("PROC"); break;
    case TextureLayerType::kGradient: out.BeginForm("GRAD"); break;
    case TextureLayerType::kImage: out.BeginForm("IMAP"); break;
  }
  out.BeginAnonymous();
  if (!layer.ordinal.empty()) {
    out.raw().S0(layer.ordinal);
  } else {
    if (position >= 0x7F) throw std::length_error("too many texture layers without ordinals");
    out.raw().S0(std::string(1, static_cast<char>(0x80 + position)));
  }
  out.End();
  out.BeginChunk("CHAN");
  out.raw().Id4(MakeId("txtr"));
  out.End();
  out.BeginForm("OPAC");
  out.BeginAnonymous();
  out.raw().U2(0);
  out.raw().F4(1.0f);
  out.raw().Vx(0);
  out.End();
  out.End();
  out.BeginChunk("ENAB");
  out.raw().U2(1);
  out.End();
  out.End();
  if (layer.type == TextureLayerType::kImage && layer.clip) {
    out.BeginChunk("IMAG");
    out.raw().Vx(*layer.clip);
    out.End();
  }
  out.End();
}

// FORM ENTR { NAME FLAG TAG  FORM VALU { ANON type; ... } }; `value`
// writes what follows the type name.
template <typename Value>
void WriteEntry(Lwo3Out& out, const std::string& name, const char* type, Value value) {
  out.BeginForm("ENTR");
  out.Text("NAME", name);
  out.Number("FLAG", 0);
  out.BeginChunk("TAG ");
  out.raw().S0("ENVELOPE");
  out.raw().S0("On");
  out.End();
  out.BeginForm("VALU");
  out.BeginAnonymous();
  out.raw().S0(type);
  value(true);
  out.End();
  value(false);
  out.End();
  out.End();
}

// A parameter: its numbers as doubles in an inner value, then its
// texture layers.
void WriteParameter(Lwo3Out& out, const std::string& name, const std::vector<double>& numbers,
                    const std::vector<Lwo2TextureLayer>& layers = {}) {
  WriteEntry(out, name, numbers.size() == 3 ? "vparam3" : "vparam", [&](bool inAnonymous) {
    if (inAnonymous) return;
    out.BeginForm("VALU");
    out.BeginAnonymous();
    out.raw().U4(static_cast<std::uint32_t>(numbers.size()));
    for (double number : numbers) out.raw().F8(number);
    out.End();
    out.End();
    if (layers.empty()) return;
    out.BeginForm("TXTR");
    for (std::size_t i = 0; i < layers.size(); ++i) WriteBlock(out, layers[i], i);
    out.End();
  });
}

void WriteInteger(Lwo3Out& out, const std::string& name, std::int32_t value) {
  WriteEntry(out, name, "int", [&](bool inAnonymous) {
    if (inAnonymous) out.raw().U4(static_cast<std::uint32_t>(value));
  });
}

// FORM META { VERS ENUM FORM ADAT { entries } } inside the given form.
template <typename Entries>
void WriteAttributes(Lwo3Out& out, const char (&form)[5], Entries entries) {
  out.BeginForm(form);
  out.BeginForm("META");
  out.Number("VERS", 1);
  out.Number("ENUM", 0);
  out.BeginForm("ADAT");
  entries();
  out.End();
  out.End();
  out.End();
}

std::vector<double> ColorOf(const Vec3& color) { return {color[0], color[1], color[2]}; }

template <typename Data>
void WriteNode(Lwo3Out& out, const std::string& type, const std::string& name, Data data) {
  out.Text("NSRV", type);
  out.BeginForm("NTAG");
  out.Text("NRNM", type);
  out.Text("NNME", name);
  out.BeginChunk("NCRD");
  out.raw().U4(0);
  out.raw().U4(0);
  out.End();
  out.Number("NMOD", 0);
  out.BeginForm("NDTA");
  data();
  out.End();
  out.Text("NPRW", "");
  out.End();
}

void WriteStandard(Lwo3Out& out, const Lwo2Surface& surface) {
  WriteNode(out, "Standard", kStandardNode, [&] {
    WriteAttributes(out, "SATR", [&] {
      WriteParameter(out, "Color", ColorOf(surface.color), surface.colorLayers);
      WriteParameter(out, "Diffuse", {1.0});
      WriteParameter(out, "Glossiness", {surface.glossiness});
      WriteParameter(out, "Reflection", {surface.reflectivity});
      WriteParameter(out, "Transparency", {surface.transparency});
    });
  });
}

void WritePrincipled(Lwo3Out& out, const Lwo2Surface& surface) {
  WriteNode(out, "Principled BSDF", kPrincipledNode, [&] {
    WriteAttributes(out, "ATTR", [&] {
      WriteParameter(out, "Color", ColorOf(surface.color));
      WriteParameter(out, "Roughness", {1.0 - surface.glossiness});
      WriteInteger(out, "Thin", 0);
      WriteParameter(out, "Metallic", {surface.reflectivity});
      WriteParameter(out, "Transparency", {surface.transparency});
    });
  });
}

// The values of a node nobody wired up: they must not reach the surface.
Lwo2Surface Unconnected() {
  Lwo2Surface decoy;
  decoy.color = {0.1, 0.9, 0.1};
  decoy.transparency = 0.3;
  decoy.reflectivity = 0.6;
  decoy.glossiness = 0.05;
  return decoy;
}

const Lwo2Clip* ImageClipOf(const Lwo2Object& object, const Lwo2Surface& surface) {
  if (surface.colorLayers.empty()) return nullptr;
  const Lwo2TextureLayer& layer = surface.colorLayers.front();
  if (surface.colorLayers.size() > 1 || layer.type != TextureLayerType::kImage) {
    throw std::invalid_argument("surface '" + surface.name + "': a Principled material holds one image colour layer at most");
  }
  return layer.clip ? object.FindClip(*layer.clip) : nullptr;
}

void WriteConnection(Lwo3Out& out, const std::string& node, const std::string& input, const std::string& source,
                     const std::string& output) {
  out.Text("INME", node);
  out.Text("IINM", input);
  out.Text("IINN", source);
  out.Text("IONM", output);
}

void WriteNodeGraph(Lwo3Out& out, const Lwo2Object& object, const Lwo2Surface& surface, Lwo3Material material) {
  const bool principled = material == Lwo3Material::kPrincipled;
  const Lwo2Clip* image = principled ? ImageClipOf(object, surface) : nullptr;
  out.BeginForm("NODS");
  out.BeginForm("NROT");
  out.BeginChunk("NSTA");
  out.raw().U2(1);
  out.End();
  out.End();
  out.Number("NVER", 1);
  out.BeginForm("NNDS");
  WriteNode(out, "Surface", kSurfaceNode, [] {});
  if (principled) {
    WriteStandard(out, Unconnected());
    WritePrincipled(out, surface);
  } else {
    WritePrincipled(out, Unconnected());
    WriteStandard(out, surface);
  }
  if (image != nullptr) {
    WriteNode(out, "Image", kImageNode, [&] {
      out.BeginForm("IIMG");
      WriteClip(out, image->stillPath, std::nullopt);
      out.End();
      out.Number("IMAP", 5);
    });
  }
  out.End();
  out.BeginForm("NCON");
  const char* chosen = principled ? kPrincipledNode : kStandardNode;
  WriteConnection(out, kSurfaceNode, "Material", chosen, "Material");
  if (image != nullptr) WriteConnection(out, chosen, "Color", kImageNode, "Color");
  out.End();
  out.End();
}

// The surface shader: reflection options, and the reflection map inline.
void WriteShader(Lwo3Out& out, const Lwo2Object& object, const Lwo2Surface& surface) {
  const Lwo2Clip* reflection = surface.reflectionClip ? object.FindClip(*surface.reflectionClip) : nullptr;
  out.BeginForm("SSHA");
  out.Text("SSHN", "Photoreal Integrator");
  out.BeginForm("SSHD");
  WriteAttributes(out, "ATTR", [&] {
    WriteInteger(out, "Reflection Options", reflection != nullptr ? 2 : 0);
    WriteEntry(out, "Reflection Map Image", "ClipID", [&](bool inAnonymous) {
      if (!inAnonymous && reflection != nullptr) WriteClip(out, reflection->stillPath, std::nullopt);
    });
  });
  out.End();
  out.End();
}

void WriteSurface(Lwo3Out& out, const Lwo2Object& object, const Lwo2Surface& surface, Lwo3Material material) {
  out.BeginForm("SURF");
  out.BeginAnonymous();
  out.raw().S0(surface.name);
  out.raw().S0(surface.source);
  out.End();
  out.Number("VERS", 1805);
  if (!surface.vertexColorMap.empty()) {
    out.BeginForm("VCOL");
    out.BeginAnonymous();
    out.raw().F4(1.0f);
    out.raw().Vx(0);
    out.raw().Id4(MakeId("RGBA"));
    out.raw().S0(surface.vertexColorMap);
    out.End();
    out.End();
  }
  WriteNodeGraph(out, object, surface, material);
  WriteShader(out, object, surface);
  out.End();
}

void WriteObjectTag(Lwo3Out& out, const Lwo2Object& object) {
  for (const Lwo2Layer& layer : object.layers) {
    if (layer.mesh.uvMaps.empty()) continue;
    out.BeginChunk("OTAG");
    out.raw().Id4(MakeId("TXUV"));
    out.raw().S0(layer.mesh.uvMaps.front().name);
    out.End();
    return;
  }
}

}  // namespace

std::vector<std::uint8_t> WriteLwo3(const Lwo2Object& object, Lwo3Material material) {
  IffWriter bytes;
  Lwo3Out out(bytes);
  out.BeginForm("LWO3");
  WriteObjectTag(out, object);
  WriteGeometry(bytes, object);
  for (const Lwo2Clip& clip : object.clips) {
    if (!OnlyInline(object, clip.index)) WriteClip(out, clip.stillPath, clip.index);
  }
  for (const Lwo2Surface& surface : object.surfaces) WriteSurface(out, object, surface, material);
  out.End();
  return bytes.Release();
}

void WriteLwo3File(const Lwo2Object& object, const std::string& path, Lwo3Material material) {
  const std::vector<std::uint8_t> bytes = WriteLwo3(object, material);
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  file.close();
  if (!file) throw std::runtime_error("cannot write the object file '" + path + "'");
}

}  // namespace host
