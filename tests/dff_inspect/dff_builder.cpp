#include "tests/dff_inspect/dff_builder.h"

#include <algorithm>
#include <iterator>
#include <utility>

#include "dff/chunk_writer.h"

namespace dffinfo::testing {

using dff::ChunkType;

Payload& Payload::U16(std::uint16_t value) {
  dff::WriteU16(stream_, value);
  return *this;
}
Payload& Payload::U32(std::uint32_t value) {
  dff::WriteU32(stream_, value);
  return *this;
}
Payload& Payload::I32(std::int32_t value) { return U32(static_cast<std::uint32_t>(value)); }
Payload& Payload::F32(float value) {
  dff::WriteF32(stream_, value);
  return *this;
}
Payload& Payload::Raw(const std::string& text) {
  stream_.WriteBytes(text.data(), text.size());
  return *this;
}

Node Make(std::uint32_t type, Bytes data, std::vector<Node> children) {
  Node node;
  node.type = type;
  node.data = std::move(data);
  node.children = std::move(children);
  return node;
}

Node Make(ChunkType type, Bytes data, std::vector<Node> children) {
  return Make(dff::ToWord(type), std::move(data), std::move(children));
}

Node Tagged(Node node, std::string tag) {
  node.tag = std::move(tag);
  return node;
}

namespace {

void Write(dff::OutputStream& stream, const Node& node, File& file) {
  if (!node.tag.empty()) file.offsets[node.tag] = stream.size();
  const std::int32_t start = dff::BeginChunk(stream, static_cast<ChunkType>(node.type), node.version);
  stream.WriteBytes(node.data.data(), node.data.size());
  for (const Node& child : node.children) Write(stream, child, file);
  stream.WriteBytes(node.trailer.data(), node.trailer.size());
  dff::EndChunk(stream, start);
}

Bytes PaddedText(const std::string& text) {
  Bytes bytes(text.begin(), text.end());
  bytes.resize(dff::PaddedStringLength(static_cast<std::uint32_t>(text.size())), 0);
  return bytes;
}

Node TextureNode(const SampleTexture& t) {
  return Make(ChunkType::Texture, {},
              {Make(ChunkType::Struct, Payload().U32(t.filterWord).bytes()),
               Make(ChunkType::String, PaddedText(t.name)),
               Make(ChunkType::String, PaddedText(t.mask)), Make(ChunkType::Extension)});
}

Node MaterialNode(const SampleMaterial& m, const std::string& id) {
  Payload header;
  header.U32(0).Raw(std::string(m.rgba.begin(), m.rgba.end())).U32(0x00BAA3DC).U32(m.textured);
  header.F32(0.4f).F32(1.0f).F32(1.0f);
  Node material = Tagged(Make(ChunkType::Material), "material " + id);
  material.children.push_back(Tagged(Make(ChunkType::Struct, header.bytes()), "material " + id + " struct"));
  if (m.texture) material.children.push_back(Tagged(TextureNode(*m.texture), "texture " + id));
  Node extension = Make(ChunkType::Extension);
  if (m.environmentMap) {
    Node effects = Make(ChunkType::MaterialEffects,
                        Payload().U32(2).U32(2).F32(m.reflectivity).U32(0).U32(1).bytes(),
                        {TextureNode(*m.environmentMap)});
    effects.trailer = Payload().U32(0).bytes();
    extension.children.push_back(Tagged(effects, "effects " + id));
  }
  if (m.reflectionRecord) {
    const float r = m.reflectivity;
    extension.children.push_back(Tagged(
        Make(ChunkType::ReflectionMaterial, Payload().F32(r).F32(r).F32(r).F32(1).F32(r).F32(1).bytes()),
        "reflection " + id));
  }
  Payload specular;
  specular.F32(m.glossiness).Raw("vehiclespecdot64").Raw(std::string(8, '\0'));
  extension.children.push_back(
      Tagged(Make(ChunkType::SpecularMaterial, specular.bytes()), "specular " + id));
  material.children.push_back(std::move(extension));
  return material;
}

Bytes GeometryStruct(const SampleGeometry& g) {
  Payload p;
  p.U32(g.format).U32(static_cast<std::uint32_t>(g.triangles.size()));
  p.U32(static_cast<std::uint32_t>(g.positions.size())).U32(1);
  if (g.format & 0x08u) {
    for (const auto& colour : g.prelight) {
      std::uint32_t word = 0;
      for (std::size_t i = 0; i < 4; ++i) word |= static_cast<std::uint32_t>(colour[i]) << (8 * i);
      p.U32(word);
    }
  }
  for (const auto& set : g.uvSets) {
    for (const auto& uv : set) p.F32(uv[0]).F32(uv[1]);
  }
  for (const auto& t : g.triangles) p.U16(t[1]).U16(t[0]).U16(t[3]).U16(t[2]);
  for (float value : g.sphere) p.F32(value);
  p.U32(1).U32(g.normals.empty() ? 0 : 1);
  for (const auto& v : g.positions) p.F32(v[0]).F32(v[1]).F32(v[2]);
  for (const auto& v : g.normals) p.F32(v[0]).F32(v[1]).F32(v[2]);
  return p.bytes();
}

Node GeometryNode(const SampleGeometry& g, std::size_t index) {
  const std::string id = std::to_string(index);
  Payload slots;
  slots.U32(static_cast<std::uint32_t>(g.slots.size()));
  for (std::int32_t slot : g.slots) slots.I32(slot);
  Node list = Tagged(Make(ChunkType::MaterialList, {}, {Make(ChunkType::Struct, slots.bytes())}),
                     "material list " + id);
  for (std::size_t m = 0; m < g.materials.size(); ++m) {
    list.children.push_back(MaterialNode(g.materials[m], id + "." + std::to_string(m)));
  }
  Payload mesh;
  mesh.U32(0).U32(static_cast<std::uint32_t>(g.splits.size())).U32(g.splitTotal);
  for (const SampleSplit& split : g.splits) {
    mesh.U32(static_cast<std::uint32_t>(split.indices.size())).U32(split.material);
    for (std::uint32_t vertex : split.indices) mesh.U32(vertex);
  }
  Node extension = Make(ChunkType::Extension, {},
                        {Tagged(Make(ChunkType::BinMesh, mesh.bytes()), "bin mesh " + id),
                         Tagged(Make(ChunkType::GeometryExtra, Payload().U32(0).bytes()), "extra " + id)});
  if (g.nightColors) {
    extension.children.push_back(Tagged(Make(ChunkType::NightColors, *g.nightColors), "night " + id));
  }
  if (g.effects2d) {
    extension.children.push_back(Tagged(Make(ChunkType::Effects2d, *g.effects2d), "effects2d " + id));
  }
  return Tagged(Make(ChunkType::Geometry, {},
                     {Tagged(Make(ChunkType::Struct, GeometryStruct(g)), "geometry " + id + " struct"),
                      std::move(list), std::move(extension)}),
                "geometry " + id);
}

Node FrameListNode(const std::vector<SampleFrame>& frames) {
  Payload p;
  p.U32(static_cast<std::uint32_t>(frames.size()));
  for (const SampleFrame& f : frames) {
    for (float value : f.rotation) p.F32(value);
    for (float value : f.position) p.F32(value);
    p.I32(f.parent).U32(0);
  }
  Node list = Tagged(Make(ChunkType::FrameList, {},
                          {Tagged(Make(ChunkType::Struct, p.bytes()), "frame list struct")}),
                     "frame list");
  for (const SampleFrame& f : frames) {
    list.children.push_back(Make(ChunkType::Extension, {},
                                 {Make(ChunkType::FrameName, Bytes(f.name.begin(), f.name.end()))}));
  }
  return list;
}

Node AtomicNode(const SampleAtomic& a, std::size_t index) {
  return Make(ChunkType::Atomic, {},
              {Tagged(Make(ChunkType::Struct, Payload().U32(a.frame).U32(a.geometry).U32(5).U32(0).bytes()),
                      "atomic " + std::to_string(index) + " struct"),
               Make(ChunkType::Extension, {},
                    {Make(ChunkType::RightToRender, Payload().U32(0x120).U32(0).bytes()),
                     Make(ChunkType::MaterialEffects, Payload().U32(1).bytes())})});
}

}  // namespace

File Serialise(const std::vector<Node>& topLevel) {
  File file;
  dff::OutputStream stream;
  for (const Node& node : topLevel) Write(stream, node, file);
  file.bytes = stream.bytes();
  return file;
}

SampleClump MakeSampleClump() {
  SampleClump clump;
  clump.frames = {{{1, 0, 0, 0, 1, 0, 0, 0, 1}, {0, 0, 0}, -1, "chassis_dummy"},
                  {{0, 1, 0, -1, 0, 0, 0, 0, 1}, {1.5f, -2, 0.25f}, 0, "wheel_lf_dummy"}};
  SampleGeometry g;
  g.positions = {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}};
  g.normals = {{0, 0, 1}, {0, 0, 1}, {0, 0, 1}, {0, 0, 1}};
  g.uvSets = {{{0, 0}, {1, 0}, {1, 1}, {0, 1}}};
  g.triangles = {{0, 1, 2, 0}, {0, 2, 3, 1}};
  g.sphere = {0.5f, 0.5f, 0, 0.7072f};
  g.slots = {-1, -1};
  SampleMaterial body;
  body.rgba = {60, 255, 0, 255};
  body.textured = 1;
  body.texture = SampleTexture{"body", "", 0x00011106};
  body.environmentMap = SampleTexture{"vehicleenvmap128", "", 0x00011106};
  body.reflectivity = 0.5f;
  body.glossiness = 0.25f;
  body.reflectionRecord = true;
  SampleMaterial glass;
  glass.rgba = {255, 255, 255, 128};
  g.materials = {body, glass};
  g.splits = {{0, {0, 1, 2}}, {1, {0, 2, 3}}};
  g.splitTotal = 6;
  clump.geometries = {g};
  clump.atomics = {{1, 0}};
  // A COL3 entry with bounds only: its 120-byte header, nothing else.
  clump.collision = Bytes(120, 0);
  const char head[] = {'C', 'O', 'L', '3', 112, 0, 0, 0, 'c', 'a', 'r'};
  std::copy(std::begin(head), std::end(head), clump.collision->begin());
  return clump;
}

Node BuildClump(const SampleClump& clump) {
  Payload header;
  header.U32(clump.atomicCount).U32(0).U32(0);
  Node node = Tagged(Make(ChunkType::Clump, {},
                          {Tagged(Make(ChunkType::Struct, header.bytes()), "clump struct"),
                           FrameListNode(clump.frames)}),
                     "clump");
  Node geometryList = Make(ChunkType::GeometryList, {},
                           {Tagged(Make(ChunkType::Struct, Payload().U32(clump.geometryCount).bytes()),
                                   "geometry list struct")});
  for (std::size_t g = 0; g < clump.geometries.size(); ++g) {
    geometryList.children.push_back(GeometryNode(clump.geometries[g], g));
  }
  node.children.push_back(std::move(geometryList));
  for (std::size_t a = 0; a < clump.atomics.size(); ++a) {
    node.children.push_back(AtomicNode(clump.atomics[a], a));
  }
  Node extension = Tagged(Make(ChunkType::Extension), "clump extension");
  if (clump.collision) {
    extension.children.push_back(Tagged(Make(ChunkType::Collision, *clump.collision), "collision"));
  }
  node.children.push_back(std::move(extension));
  return node;
}

}  // namespace dffinfo::testing
