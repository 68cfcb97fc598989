#include "lightwave/lwo3_surface_reader.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <map>
#include <utility>

#include "lightwave/lwo2_surface_reader.h"
#include "lightwave/lwo3_forms.h"
#include "lightwave/lwo3_node_graph.h"

namespace host {
namespace {

constexpr std::uint32_t kNods = MakeId("NODS");
constexpr std::uint32_t kSsha = MakeId("SSHA");
constexpr std::uint32_t kSshd = MakeId("SSHD");
constexpr std::uint32_t kAttr = MakeId("ATTR");
constexpr std::uint32_t kSatr = MakeId("SATR");
constexpr std::uint32_t kVcol = MakeId("VCOL");
constexpr std::uint32_t kIimg = MakeId("IIMG");
constexpr std::uint32_t kClip = MakeId("CLIP");

const char kStandard[] = "Standard";
const char kPrincipled[] = "Principled BSDF";

using Entries = std::map<std::string, Lwo3Entry>;

// Node values are doubles; the host keeps what LWO2 keeps, floats, so that
// a surface saved both ways gives the same values.
double Narrowed(double value, const std::string& entry, const IffReader& at) {
  const auto narrowed = static_cast<float>(value);
  if (!std::isfinite(narrowed)) at.Fail("the " + entry + " value does not fit a float");
  return static_cast<double>(narrowed);
}

// The entry's single number as stored, when the material has the entry.
std::optional<double> StoredScalar(const Entries& entries, const std::string& name, const IffReader& at) {
  const auto found = entries.find(name);
  if (found == entries.end()) return std::nullopt;
  if (found->second.numbers.size() != 1) {
    at.Fail("the " + name + " entry holds " + std::to_string(found->second.numbers.size()) + " numbers, not 1");
  }
  return found->second.numbers[0];
}

std::optional<double> Scalar(const Entries& entries, const std::string& name, const IffReader& at) {
  const std::optional<double> value = StoredScalar(entries, name, at);
  if (!value) return std::nullopt;
  return Narrowed(*value, name, at);
}

void ReadColor(const Entries& entries, const IffReader& at, Lwo2Surface& surface) {
  const auto found = entries.find("Color");
  if (found == entries.end()) return;
  const std::vector<double>& numbers = found->second.numbers;
  if (numbers.size() != 3) at.Fail("the Color entry holds " + std::to_string(numbers.size()) + " numbers, not 3");
  for (std::size_t i = 0; i < 3; ++i) surface.color[i] = Narrowed(numbers[i], "Color", at);
  for (const Lwo2TextureLayer& layer : found->second.layers) surface.colorLayers.push_back(layer);
}

// A Standard node holds LWO2's channels under their own names.
void ApplyStandard(const Entries& entries, const IffReader& at, Lwo2Surface& surface) {
  ReadColor(entries, at, surface);
  if (auto value = Scalar(entries, "Transparency", at)) surface.transparency = *value;
  if (auto value = Scalar(entries, "Reflection", at)) surface.reflectivity = *value;
  if (auto value = Scalar(entries, "Glossiness", at)) surface.glossiness = *value;
}

// A Principled BSDF node describes a physical material; it maps onto the
// classic channels as a user reads its sliders: a metal mirrors its
// surroundings, so Metallic is the reflectivity, and a smooth surface has
// a tight highlight, so the glossiness is 1 - Roughness.
void ApplyPrincipled(const Entries& entries, const IffReader& at, Lwo2Surface& surface) {
  ReadColor(entries, at, surface);
  if (auto value = Scalar(entries, "Transparency", at)) surface.transparency = *value;
  if (auto value = Scalar(entries, "Metallic", at)) surface.reflectivity = *value;
  // Narrowed once, after the subtraction, so that a glossiness stored as
  // 1 - Roughness comes back to the same float.
  if (auto value = StoredScalar(entries, "Roughness", at)) {
    surface.glossiness = Narrowed(1.0 - std::clamp(*value, 0.0, 1.0), "Roughness", at);
  }
}

// The attribute form of a material node's data: FORM SATR for a Standard
// node, FORM ATTR for a Principled BSDF one.
std::optional<Entries> MaterialEntries(IffReader data, std::uint32_t form) {
  std::optional<Entries> entries;
  ForEachChild(data, [&](const Lwo3Child& child) {
    if (child.IsForm(form)) entries = ReadLwo3Entries(child.body);
  });
  return entries;
}

// The still image of an Image node: FORM IIMG > FORM CLIP > FORM STIL.
std::optional<std::string> ImageNodePath(IffReader data) {
  std::optional<std::string> path;
  ForEachChild(data, [&](const Lwo3Child& child) {
    if (!child.IsForm(kIimg)) return;
    ForEachChild(child.body, [&](const Lwo3Child& clip) {
      if (clip.IsForm(kClip)) path = ReadLwo3ClipPath(clip.body, nullptr);
    });
  });
  return path;
}

// The material wired to the Surface node's Material input, or why there is
// none this host can read.
const Lwo3Node* FollowMaterial(const std::optional<Lwo3NodeGraph>& graph, std::string& problem) {
  if (!graph) {
    problem = "has no node graph";
    return nullptr;
  }
  const Lwo3Node* output = graph->FindByType("Surface");
  if (output == nullptr) {
    problem = "has no Surface node in its node graph";
    return nullptr;
  }
  const Lwo3Node* material = graph->FeedOf(output->name, "Material");
  if (material == nullptr) {
    problem = "has nothing connected to its Surface node's Material input";
  } else if (material->type != kStandard && material->type != kPrincipled) {
    problem = "has a material of type '" + material->type + "', which this host does not read";
  } else if (!material->data) {
    problem = "has a material node '" + material->name + "' without data";
  } else {
    return material;
  }
  return nullptr;
}

// Runs `read` on a node's data; a fault inside names the node.
template <typename Read>
void WithinNode(const Lwo3Node& node, Read read) {
  try {
    read(*node.data);
  } catch (const IffError& error) {
    throw IffError(error.offset(), "FORM NODS > node '" + node.name + "' > FORM NDTA > " + error.what());
  }
}

// Applies the material's values; a material without its attribute form is
// a graph that cannot be followed.
void ApplyMaterial(const Lwo3NodeGraph& graph, const Lwo3Node& material, Lwo3Surface& result) {
  const bool standard = material.type == kStandard;
  const std::size_t inheritedLayers = result.surface.colorLayers.size();
  WithinNode(material, [&](IffReader data) {
    const std::optional<Entries> entries = MaterialEntries(data, standard ? kSatr : kAttr);
    if (!entries) {
      result.problem = "has a material node '" + material.name + "' without its attributes";
      return;
    }
    if (standard) {
      ApplyStandard(*entries, data, result.surface);
    } else {
      ApplyPrincipled(*entries, data, result.surface);
    }
  });
  // Texture layers on the Color entry come first; without them, an image
  // node wired to the material's Color input is the colour image.
  if (result.problem || result.surface.colorLayers.size() > inheritedLayers) return;
  const Lwo3Node* image = graph.FeedOf(material.name, "Color");
  if (image == nullptr || image->type != "Image" || !image->data) return;
  WithinNode(*image, [&](IffReader data) { result.colorImagePath = ImageNodePath(data); });
  if (result.colorImagePath) {
    result.surface.colorLayers = {Lwo2TextureLayer{TextureLayerType::kImage, "\x80", std::nullopt}};
  }
}

// The reflection map of the surface shader: an inline image.
std::optional<std::string> ReflectionImagePath(IffReader shader) {
  std::optional<std::string> path;
  ForEachChild(shader, [&](const Lwo3Child& child) {
    if (!child.IsForm(kSshd)) return;
    ForEachChild(child.body, [&](const Lwo3Child& attributes) {
      if (!attributes.IsForm(kAttr)) return;
      const Entries entries = ReadLwo3Entries(attributes.body);
      const auto found = entries.find("Reflection Map Image");
      if (found != entries.end()) path = found->second.inlineImage;
    });
  });
  return path;
}

// The payload LWO2 gives VCOL: intensity, envelope, map type, map name.
std::string VertexColorMapName(IffReader data) {
  data.F4("the vertex colour intensity");
  data.Vx();
  data.Id4();
  return data.S0();
}

}  // namespace

Lwo3Surface ReadLwo3Surface(IffReader body, const std::vector<Lwo2Surface>& earlier) {
  std::optional<std::pair<std::string, std::string>> names;
  std::optional<Lwo3NodeGraph> graph;
  Lwo3Surface result;
  std::string vertexColorMap;
  ForEachChild(body, [&](const Lwo3Child& child) {
    if (child.IsChunk(kAnonymousId) && !names) {
      IffReader data = child.body;
      std::string name = data.S0();
      names.emplace(std::move(name), data.atEnd() ? std::string() : data.S0());
    } else if (child.IsForm(kNods)) {
      graph = Lwo3NodeGraph::Read(child.body);
    } else if (child.IsForm(kSsha)) {
      result.reflectionImagePath = ReflectionImagePath(child.body);
    } else if (child.IsChunk(kVcol)) {
      vertexColorMap = VertexColorMapName(child.body);
    } else if (child.IsForm(kVcol)) {
      ForEachChild(child.body, [&](const Lwo3Child& item) {
        if (item.IsChunk(kAnonymousId)) vertexColorMap = VertexColorMapName(item.body);
      });
    }
  });
  if (!names) body.Fail("a FORM SURF has no anonymous chunk holding its name");
  result.surface = StartSurface(names->first, names->second, earlier);
  std::string problem;
  if (const Lwo3Node* material = FollowMaterial(graph, problem)) {
    ApplyMaterial(*graph, *material, result);
  } else {
    result.problem = problem;
  }
  if (result.problem) {
    result.surface = StartSurface(names->first, names->second, earlier);
    result.colorImagePath.reset();
  }
  if (!vertexColorMap.empty()) result.surface.vertexColorMap = vertexColorMap;
  // Layers apply in ordinal order, as in LWO2.
  std::stable_sort(result.surface.colorLayers.begin(), result.surface.colorLayers.end(),
                   [](const Lwo2TextureLayer& a, const Lwo2TextureLayer& b) { return a.ordinal < b.ordinal; });
  return result;
}

std::optional<Lwo2Clip> ReadLwo3Clip(IffReader body) {
  std::optional<std::uint32_t> index;
  std::optional<std::string> path = ReadLwo3ClipPath(body, &index);
  if (!path) return std::nullopt;
  if (!index) body.Fail("a top-level FORM CLIP has no anonymous chunk holding its index");
  return Lwo2Clip{*index, *path};
}

}  // namespace host
