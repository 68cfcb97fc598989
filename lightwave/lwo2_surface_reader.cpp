#include "lightwave/lwo2_surface_reader.h"

#include <algorithm>
#include <cstdint>
#include <string>

namespace host {
namespace {

constexpr std::uint32_t kColr = MakeId("COLR");
constexpr std::uint32_t kTran = MakeId("TRAN");
constexpr std::uint32_t kRefl = MakeId("REFL");
constexpr std::uint32_t kGlos = MakeId("GLOS");
constexpr std::uint32_t kRimg = MakeId("RIMG");
constexpr std::uint32_t kBlok = MakeId("BLOK");
constexpr std::uint32_t kVcol = MakeId("VCOL");
constexpr std::uint32_t kImap = MakeId("IMAP");
constexpr std::uint32_t kProc = MakeId("PROC");
constexpr std::uint32_t kGrad = MakeId("GRAD");
constexpr std::uint32_t kChan = MakeId("CHAN");
constexpr std::uint32_t kImag = MakeId("IMAG");
constexpr std::uint32_t kStil = MakeId("STIL");

// Runs `read` on a sub-chunk and names the sub-chunk in any fault.
template <typename Read>
void WithinSubChunk(const IffChunk& sub, Read read) {
  try {
    read(sub.body);
  } catch (const IffError& error) {
    throw IffError(error.offset(), IdText(sub.id) + " sub-chunk: " + error.what());
  }
}

std::optional<TextureLayerType> LayerTypeOfHeader(std::uint32_t id) {
  if (id == kImap) return TextureLayerType::kImage;
  if (id == kProc) return TextureLayerType::kProcedural;
  if (id == kGrad) return TextureLayerType::kGradient;
  return std::nullopt;  // shaders and block kinds this host does not know
}

// A BLOK: a texture layer of the colour channel, or nothing for blocks of
// other channels, shaders and unknown kinds.  The first sub-chunk is the
// header; its ID is the block's kind.
std::optional<Lwo2TextureLayer> ReadBlock(IffReader body) {
  std::optional<IffChunk> header = NextChunk(body, IffLength::kU2);
  if (!header) body.Fail("a BLOK has no header");
  const std::optional<TextureLayerType> type = LayerTypeOfHeader(header->id);
  if (!type) return std::nullopt;

  Lwo2TextureLayer layer;
  layer.type = *type;
  std::uint32_t channel = 0;
  WithinSubChunk(*header, [&](IffReader headerBody) {
    layer.ordinal = headerBody.S0();
    while (std::optional<IffChunk> sub = NextChunk(headerBody, IffLength::kU2)) {
      if (sub->id == kChan) WithinSubChunk(*sub, [&](IffReader chan) { channel = chan.Id4(); });
    }
  });
  while (std::optional<IffChunk> sub = NextChunk(body, IffLength::kU2)) {
    if (sub->id == kImag && layer.type == TextureLayerType::kImage) {
      WithinSubChunk(*sub, [&](IffReader imag) { layer.clip = imag.Vx(); });
    }
  }
  if (channel != kColr) return std::nullopt;
  return layer;
}

}  // namespace

Lwo2Surface StartSurface(const std::string& name, const std::string& source,
                         const std::vector<Lwo2Surface>& earlier) {
  Lwo2Surface surface;
  if (!source.empty()) {
    const auto found = std::find_if(earlier.begin(), earlier.end(),
                                    [&](const Lwo2Surface& s) { return s.name == source; });
    if (found != earlier.end()) surface = *found;
  }
  surface.name = name;
  surface.source = source;
  return surface;
}

Lwo2Surface ReadSurface(IffReader body, const std::vector<Lwo2Surface>& earlier) {
  const std::string name = body.S0();
  const std::string source = body.S0();
  return ReadSurfaceBlock(name, source, body, earlier);
}

Lwo2Surface ReadSurfaceBlock(const std::string& name, const std::string& source, IffReader body,
                             const std::vector<Lwo2Surface>& earlier) {
  Lwo2Surface surface = StartSurface(name, source, earlier);
  // Values are followed by an envelope index, which only matters for
  // animated surfaces; the stored value is what Layout reports.
  while (std::optional<IffChunk> sub = NextChunk(body, IffLength::kU2)) {
    WithinSubChunk(*sub, [&](IffReader data) {
      if (sub->id == kColr) {
        const std::array<float, 3> color = data.Vec12("the colour");
        surface.color = {static_cast<double>(color[0]), static_cast<double>(color[1]),
                         static_cast<double>(color[2])};
      } else if (sub->id == kTran) {
        surface.transparency = static_cast<double>(data.F4("the transparency"));
      } else if (sub->id == kRefl) {
        surface.reflectivity = static_cast<double>(data.F4("the reflectivity"));
      } else if (sub->id == kGlos) {
        surface.glossiness = static_cast<double>(data.F4("the glossiness"));
      } else if (sub->id == kRimg) {
        surface.reflectionClip = data.Vx();
      } else if (sub->id == kVcol) {
        // Intensity, its envelope and the map's type come before the name.
        data.F4("the vertex colour intensity");
        data.Vx();
        data.Id4();
        surface.vertexColorMap = data.S0();
      } else if (sub->id == kBlok) {
        if (std::optional<Lwo2TextureLayer> layer = ReadBlock(data)) {
          surface.colorLayers.push_back(std::move(*layer));
        }
      }
    });
  }
  // Layers apply in ordinal order, compared byte by byte as unsigned
  // characters; equal ordinals keep their file order.
  std::stable_sort(surface.colorLayers.begin(), surface.colorLayers.end(),
                   [](const Lwo2TextureLayer& a, const Lwo2TextureLayer& b) {
                     return a.ordinal < b.ordinal;
                   });
  return surface;
}

std::optional<Lwo2Clip> ReadClip(IffReader body) {
  Lwo2Clip clip;
  clip.index = body.U4();
  bool still = false;
  while (std::optional<IffChunk> sub = NextChunk(body, IffLength::kU2)) {
    if (sub->id == kStil) {
      WithinSubChunk(*sub, [&](IffReader data) { clip.stillPath = data.S0(); });
      still = true;
    }
  }
  if (!still) return std::nullopt;
  return clip;
}

}  // namespace host
