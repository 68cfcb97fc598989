// The node graph of an LWO3 surface (FORM NODS): its nodes by reference
// name, the connections between them, and the named entries of a material
// node's attributes.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "lightwave/iff_reader.h"
#include "lightwave/lwo2_object.h"

namespace host {

struct Lwo3Node {
  std::string type;               // NRNM: "Surface", "Standard", "Principled BSDF", "Image"...
  std::string name;               // NNME: unique within its graph, "Standard (1)"
  std::optional<IffReader> data;  // the children of its FORM NDTA
};

class Lwo3NodeGraph {
 public:
  // From the children of FORM NODS.  Throws IffError.
  static Lwo3NodeGraph Read(IffReader nods);

  // The first node of this type, or null.
  const Lwo3Node* FindByType(const std::string& type) const;
  // The node whose output feeds `input` of the node named `node`, or null
  // (also when the connection names a node the graph does not hold).
  const Lwo3Node* FeedOf(const std::string& node, const std::string& input) const;

 private:
  struct Connection {
    std::string node;        // INME
    std::string input;       // IINM
    std::string sourceNode;  // IINN
  };
  void ReadNodes(IffReader nnds);
  void ReadConnections(IffReader ncon);

  std::vector<Lwo3Node> nodes_;
  std::vector<Connection> connections_;
};

// The value of one named entry of a node's attributes.
struct Lwo3Entry {
  std::vector<double> numbers;               // a value's numbers: 1 or 3 for parameters
  std::vector<Lwo2TextureLayer> layers;      // texture layers on the entry, in file order
  std::optional<std::string> inlineImage;    // an image entry's still image path
};

// The entries of an attribute form (FORM SATR of a Standard node, FORM ATTR
// of a Principled BSDF node or of a surface shader) by name.  Throws
// IffError.
std::map<std::string, Lwo3Entry> ReadLwo3Entries(IffReader attributes);

// The still image path of a FORM CLIP, or nothing when its source is not a
// still image.  `index` receives the clip index of a top-level clip.
// Throws IffError.
std::optional<std::string> ReadLwo3ClipPath(IffReader clip, std::optional<std::uint32_t>* index);

}  // namespace host
