#include "lightwave/lwo2_writer.h"

#include <algorithm>
#include <cstddef>
#include <fstream>
#include <stdexcept>
#include <utility>
#include <vector>

#include "lightwave/iff_writer.h"
#include "lightwave/lwo_geometry_writer.h"

namespace host {
namespace {

void WriteClip(IffWriter& out, const Lwo2Clip& clip) {
  out.Begin(MakeId("CLIP"), IffLength::kU4);
  out.U4(clip.index);
  out.Begin(MakeId("STIL"), IffLength::kU2);
  out.S0(clip.stillPath);
  out.End();
  out.End();
}

void WriteValueWithEnvelope(IffWriter& out, std::uint32_t id, double value) {
  out.Begin(id, IffLength::kU2);
  out.F4(static_cast<float>(value));
  out.Vx(0);
  out.End();
}

std::uint32_t HeaderIdOf(TextureLayerType type) {
  switch (type) {
    case TextureLayerType::kProcedural: return MakeId("PROC");
    case TextureLayerType::kGradient: return MakeId("GRAD");
    case TextureLayerType::kImage: break;
  }
  return MakeId("IMAP");
}

std::string OrdinalOf(const Lwo2TextureLayer& layer, std::size_t position) {
  if (!layer.ordinal.empty()) return layer.ordinal;
  if (position >= 0x7F) throw std::length_error("too many texture layers without ordinals");
  return std::string(1, static_cast<char>(0x80 + position));
}

void WriteColorLayer(IffWriter& out, const Lwo2TextureLayer& layer, std::size_t position) {
  out.Begin(MakeId("BLOK"), IffLength::kU2);
  out.Begin(HeaderIdOf(layer.type), IffLength::kU2);
  out.S0(OrdinalOf(layer, position));
  out.Begin(MakeId("CHAN"), IffLength::kU2);
  out.Id4(MakeId("COLR"));
  out.End();
  out.Begin(MakeId("ENAB"), IffLength::kU2);
  out.U2(1);
  out.End();
  out.End();
  if (layer.type == TextureLayerType::kImage && layer.clip) {
    out.Begin(MakeId("IMAG"), IffLength::kU2);
    out.Vx(*layer.clip);
    out.End();
  }
  out.End();
}

void WriteSurfaceSubChunks(IffWriter& out, const Lwo2Surface& surface) {
  out.Begin(MakeId("COLR"), IffLength::kU2);
  out.Vec12(ToFloats(surface.color));
  out.Vx(0);
  out.End();
  WriteValueWithEnvelope(out, MakeId("TRAN"), surface.transparency);
  WriteValueWithEnvelope(out, MakeId("REFL"), surface.reflectivity);
  WriteValueWithEnvelope(out, MakeId("GLOS"), surface.glossiness);
  if (surface.reflectionClip) {
    out.Begin(MakeId("RIMG"), IffLength::kU2);
    out.Vx(*surface.reflectionClip);
    out.End();
  }
  if (!surface.vertexColorMap.empty()) {
    out.Begin(MakeId("VCOL"), IffLength::kU2);
    out.F4(1.0f);
    out.Vx(0);
    out.Id4(kVertexMapRgba);
    out.S0(surface.vertexColorMap);
    out.End();
  }
  for (std::size_t i = 0; i < surface.colorLayers.size(); ++i) WriteColorLayer(out, surface.colorLayers[i], i);
}

void WriteSurface(IffWriter& out, const Lwo2Surface& surface) {
  out.Begin(MakeId("SURF"), IffLength::kU4);
  out.S0(surface.name);
  out.S0(surface.source);
  WriteSurfaceSubChunks(out, surface);
  out.End();
}

}  // namespace

std::vector<std::uint8_t> WriteSurfaceBlock(const Lwo2Surface& surface) {
  IffWriter out;
  WriteSurfaceSubChunks(out, surface);
  return out.Release();
}

std::vector<std::uint8_t> WriteLwo2(const Lwo2Object& object) {
  IffWriter out;
  out.Begin(MakeId("FORM"), IffLength::kU4);
  out.Id4(MakeId("LWO2"));
  WriteGeometry(out, object);
  for (const Lwo2Clip& clip : object.clips) WriteClip(out, clip);
  for (const Lwo2Surface& surface : object.surfaces) WriteSurface(out, surface);
  out.End();
  return out.Release();
}

void WriteLwo2File(const Lwo2Object& object, const std::string& path) {
  const std::vector<std::uint8_t> bytes = WriteLwo2(object);
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  file.close();
  if (!file) throw std::runtime_error("cannot write the object file '" + path + "'");
}

}  // namespace host
