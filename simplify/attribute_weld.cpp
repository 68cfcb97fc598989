#include "simplify/attribute_weld.h"

#include <cstring>
#include <string>
#include <unordered_map>

namespace simplify {
namespace {

// Adding 0 turns -0 into +0, which compare equal as floats.
void AppendFloat(std::string& key, float value) {
  const float positive = value + 0.0f;
  char bytes[sizeof positive];
  std::memcpy(bytes, &positive, sizeof positive);
  key.append(bytes, sizeof bytes);
}

template <typename Item>
void AppendBytes(std::string& key, const Item& item) {
  key.append(reinterpret_cast<const char*>(&item), sizeof item);
}

// Every attribute of vertex `v`, as bytes: vertices with equal keys are
// the same vertex to every reader.
std::string AttributeKey(const Mesh& mesh, std::size_t v) {
  std::string key;
  const platform::Vec3f& p = mesh.positions[v];
  for (float c : {p.x, p.y, p.z}) AppendFloat(key, c);
  if (!mesh.normals.empty()) {
    const platform::Vec3f& n = mesh.normals[v];
    for (float c : {n.x, n.y, n.z}) AppendFloat(key, c);
  }
  for (const auto& set : mesh.uvSets) {
    AppendFloat(key, set[v][0]);
    AppendFloat(key, set[v][1]);
  }
  if (!mesh.dayColors.empty()) AppendBytes(key, mesh.dayColors[v]);
  if (!mesh.nightColors.empty()) AppendBytes(key, mesh.nightColors[v]);
  return key;
}

// Per mesh vertex, the first vertex with the same attributes.
std::vector<std::int32_t> FirstAlike(const Mesh& mesh) {
  std::vector<std::int32_t> alike(mesh.positions.size());
  std::unordered_map<std::string, std::int32_t> firstOfKey;
  firstOfKey.reserve(mesh.positions.size());
  for (std::size_t v = 0; v < mesh.positions.size(); ++v) {
    alike[v] = firstOfKey.emplace(AttributeKey(mesh, v), static_cast<std::int32_t>(v)).first->second;
  }
  return alike;
}

}  // namespace

Welded WeldByAttributes(const Mesh& mesh) {
  const std::vector<std::int32_t> alike = FirstAlike(mesh);
  Welded welded;
  welded.indices.reserve(mesh.cornerVertices.size());
  std::unordered_map<std::uint64_t, std::uint32_t> weldedOf;
  for (std::size_t corner = 0; corner < mesh.cornerVertices.size(); ++corner) {
    const std::int32_t vertex = alike[static_cast<std::size_t>(mesh.cornerVertices[corner])];
    const std::int32_t material = mesh.cornerMaterials[corner];
    const std::uint64_t key = (static_cast<std::uint64_t>(static_cast<std::uint32_t>(vertex)) << 32) |
                              static_cast<std::uint32_t>(material);
    const auto [found, added] = weldedOf.emplace(key, static_cast<std::uint32_t>(welded.source.size()));
    if (added) {
      welded.source.push_back(vertex);
      welded.material.push_back(material);
      const platform::Vec3f& p = mesh.positions[static_cast<std::size_t>(vertex)];
      welded.positions.insert(welded.positions.end(), {p.x, p.y, p.z});
    }
    welded.indices.push_back(found->second);
  }
  return welded;
}

}  // namespace simplify
