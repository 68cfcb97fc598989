#include "lightwave/lwo3_node_graph.h"

#include <algorithm>
#include <cstdint>
#include <utility>

#include "lightwave/lwo3_forms.h"

namespace host {
namespace {

constexpr std::uint32_t kNnds = MakeId("NNDS");
constexpr std::uint32_t kNtag = MakeId("NTAG");
constexpr std::uint32_t kNcon = MakeId("NCON");
constexpr std::uint32_t kNdta = MakeId("NDTA");
constexpr std::uint32_t kMeta = MakeId("META");
constexpr std::uint32_t kAdat = MakeId("ADAT");
constexpr std::uint32_t kEntr = MakeId("ENTR");
constexpr std::uint32_t kValu = MakeId("VALU");
constexpr std::uint32_t kTxtr = MakeId("TXTR");
constexpr std::uint32_t kBlok = MakeId("BLOK");
constexpr std::uint32_t kClip = MakeId("CLIP");
constexpr std::uint32_t kStil = MakeId("STIL");
constexpr std::uint32_t kImag = MakeId("IMAG");

std::string StringOf(const Lwo3Child& child) {
  IffReader body = child.body;
  return body.S0();
}

std::optional<TextureLayerType> LayerTypeOfHeader(std::uint32_t type) {
  if (type == MakeId("IMAP")) return TextureLayerType::kImage;
  if (type == MakeId("PROC")) return TextureLayerType::kProcedural;
  if (type == MakeId("GRAD")) return TextureLayerType::kGradient;
  return std::nullopt;  // shaders and block kinds this host does not know
}

// A FORM BLOK: its first child, the header form, gives the layer's kind
// and, in its anonymous chunk, the ordinal.  The channel is the entry that
// holds the block, so the header's CHAN is not read.
std::optional<Lwo2TextureLayer> ReadBlock(IffReader body) {
  std::optional<Lwo3Child> header = NextChild(body);
  if (!header || !header->form) body.Fail("a BLOK does not start with its header form");
  const std::optional<TextureLayerType> type = LayerTypeOfHeader(header->id);
  if (!type) return std::nullopt;
  Lwo2TextureLayer layer;
  layer.type = *type;
  WithinChild(*header, [&](IffReader headerBody) {
    ForEachChild(headerBody, [&](const Lwo3Child& child) {
      if (child.IsChunk(kAnonymousId)) layer.ordinal = StringOf(child);
    });
  });
  ForEachChild(body, [&](const Lwo3Child& child) {
    if (child.IsChunk(kImag) && layer.type == TextureLayerType::kImage) {
      IffReader imag = child.body;
      layer.clip = imag.Vx();
    }
  });
  return layer;
}

// The numbers of an inner FORM VALU: a count, then that many doubles.
void ReadNumbers(IffReader body, std::vector<double>& numbers) {
  ForEachChild(body, [&](const Lwo3Child& child) {
    if (!child.IsChunk(kAnonymousId)) return;
    IffReader data = child.body;
    const std::uint32_t count = data.U4();
    if (count > data.remaining() / 8) {
      data.Fail("a value claims " + std::to_string(count) + " numbers but holds room for " +
                std::to_string(data.remaining() / 8));
    }
    for (std::uint32_t i = 0; i < count; ++i) numbers.push_back(data.F8("a node value"));
  });
}

// An entry's FORM VALU: a type name, a scalar after it for "int" and
// "double", and for parameters an inner value with texture layers, for
// images an inline clip.
Lwo3Entry ReadValue(IffReader body) {
  Lwo3Entry entry;
  ForEachChild(body, [&](const Lwo3Child& child) {
    if (child.IsChunk(kAnonymousId)) {
      IffReader data = child.body;
      const std::string type = data.S0();
      if (type == "int" && data.remaining() >= 4) entry.numbers.push_back(static_cast<std::int32_t>(data.U4()));
      if (type == "double" && data.remaining() >= 8) entry.numbers.push_back(data.F8("a node value"));
    } else if (child.IsForm(kValu)) {
      ReadNumbers(child.body, entry.numbers);
    } else if (child.IsForm(kTxtr)) {
      ForEachChild(child.body, [&](const Lwo3Child& block) {
        if (!block.IsForm(kBlok)) return;
        if (std::optional<Lwo2TextureLayer> layer = ReadBlock(block.body)) entry.layers.push_back(std::move(*layer));
      });
    } else if (child.IsForm(kClip)) {
      entry.inlineImage = ReadLwo3ClipPath(child.body, nullptr);
    }
  });
  return entry;
}

void ReadEntry(IffReader body, std::map<std::string, Lwo3Entry>& entries) {
  std::optional<std::string> name;
  Lwo3Entry value;
  ForEachChild(body, [&](const Lwo3Child& child) {
    if (child.IsChunk(MakeId("NAME"))) name = StringOf(child);
    if (child.IsForm(kValu)) value = ReadValue(child.body);
  });
  if (name) entries[*name] = std::move(value);
}

}  // namespace

Lwo3NodeGraph Lwo3NodeGraph::Read(IffReader nods) {
  Lwo3NodeGraph graph;
  ForEachChild(nods, [&](const Lwo3Child& child) {
    if (child.IsForm(kNnds)) graph.ReadNodes(child.body);
    if (child.IsForm(kNcon)) graph.ReadConnections(child.body);
  });
  return graph;
}

void Lwo3NodeGraph::ReadNodes(IffReader nnds) {
  ForEachChild(nnds, [&](const Lwo3Child& child) {
    if (!child.IsForm(kNtag)) return;
    Lwo3Node node;
    ForEachChild(child.body, [&](const Lwo3Child& item) {
      if (item.IsChunk(MakeId("NRNM"))) node.type = StringOf(item);
      if (item.IsChunk(MakeId("NNME"))) node.name = StringOf(item);
      if (item.IsForm(kNdta)) node.data = item.body;
    });
    nodes_.push_back(std::move(node));
  });
}

// Groups of four names: "node INME's input IINM is fed by node IINN's
// output IONM".  Each INME starts a group.
void Lwo3NodeGraph::ReadConnections(IffReader ncon) {
  ForEachChild(ncon, [&](const Lwo3Child& child) {
    if (child.IsChunk(MakeId("INME"))) {
      connections_.push_back({StringOf(child), "", ""});
    } else if (!connections_.empty() && child.IsChunk(MakeId("IINM"))) {
      connections_.back().input = StringOf(child);
    } else if (!connections_.empty() && child.IsChunk(MakeId("IINN"))) {
      connections_.back().sourceNode = StringOf(child);
    }
  });
}

const Lwo3Node* Lwo3NodeGraph::FindByType(const std::string& type) const {
  for (const Lwo3Node& node : nodes_) {
    if (node.type == type) return &node;
  }
  return nullptr;
}

const Lwo3Node* Lwo3NodeGraph::FeedOf(const std::string& node, const std::string& input) const {
  // An input takes one connection; the first one stored counts.
  const auto connection = std::find_if(connections_.begin(), connections_.end(), [&](const Connection& c) {
    return c.node == node && c.input == input;
  });
  if (connection == connections_.end()) return nullptr;
  const auto source = std::find_if(nodes_.begin(), nodes_.end(),
                                   [&](const Lwo3Node& n) { return n.name == connection->sourceNode; });
  return source == nodes_.end() ? nullptr : &*source;
}

std::map<std::string, Lwo3Entry> ReadLwo3Entries(IffReader attributes) {
  std::map<std::string, Lwo3Entry> entries;
  ForEachChild(attributes, [&](const Lwo3Child& meta) {
    if (!meta.IsForm(kMeta)) return;
    ForEachChild(meta.body, [&](const Lwo3Child& adat) {
      if (!adat.IsForm(kAdat)) return;
      ForEachChild(adat.body, [&](const Lwo3Child& entry) {
        if (entry.IsForm(kEntr)) ReadEntry(entry.body, entries);
      });
    });
  });
  return entries;
}

std::optional<std::string> ReadLwo3ClipPath(IffReader clip, std::optional<std::uint32_t>* index) {
  std::optional<std::string> path;
  ForEachChild(clip, [&](const Lwo3Child& child) {
    if (child.IsChunk(kAnonymousId) && index != nullptr) {
      IffReader data = child.body;
      *index = data.U4();
    } else if (child.IsForm(kStil)) {
      ForEachChild(child.body, [&](const Lwo3Child& still) {
        if (still.IsChunk(kAnonymousId)) path = StringOf(still);
      });
    }
  });
  return path;
}

}  // namespace host
