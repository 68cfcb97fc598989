// A mesh snapshot as "LW Object Info 5" meshInfo hands it out: one
// object's mesh behind the 19 members of LWMeshInfo.
//
// The snapshot reads the scene's own mesh, so that a large mesh is not held
// twice, until the scene is opened for editing: then it takes a private
// copy first (Detach), so that it stays unchanged, as a Layout snapshot is
// unaffected by later edits.  Point, polygon and vertex map identifiers are
// addresses inside the snapshot, so they are valid exactly as long as the
// snapshot, belong to it alone, and survive the copy.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "host/scene_model.h"
#include "lwsdk/mesh_info.h"

namespace host {

class MeshSnapshot {
 public:
  // `mesh` must outlive the snapshot or be followed by Detach() before it
  // changes.
  explicit MeshSnapshot(const Mesh& mesh);
  MeshSnapshot(const MeshSnapshot&) = delete;
  MeshSnapshot& operator=(const MeshSnapshot&) = delete;

  // The identifier handed to the module: the address of the table.
  LWMeshInfo* info() { return &info_; }
  const Mesh& mesh() const { return *mesh_; }
  // From now on reads a copy of its own instead of the scene's mesh.
  void Detach();

  // Defined here, to be inlined into the service calls that ask them.
  LWPntID PointId(std::size_t index) { return reinterpret_cast<LWPntID>(&pointIds_[index]); }
  std::optional<std::size_t> PointIndex(LWPntID point) const { return OffsetIn(pointIds_, point); }
  LWPolID PolygonId(std::size_t index) { return reinterpret_cast<LWPolID>(&polygonIds_[index]); }
  std::optional<std::size_t> PolygonIndex(LWPolID polygon) const { return OffsetIn(polygonIds_, polygon); }

  // Vertex map handles are identifiers of this snapshot's, one per map: the
  // UV maps, then the colour maps.  `type` is a map type of LightWave's.
  void* VertexMapHandle(std::uint32_t type, const char* name);
  // The map behind a handle of this snapshot, or null.  Asked by every
  // read of a map's value.
  const UvMap* OwnUvMap(const void* vmap) const { return MapAt(OffsetIn(mapIds_, vmap)); }

  const UvMap* selected() const { return MapAt(selected_); }
  void Select(const UvMap* map);

 private:
  // The position of `id` in a block of one-byte identifiers, if it is one.
  static std::optional<std::size_t> OffsetIn(const std::vector<unsigned char>& ids, const void* id) {
    const auto begin = reinterpret_cast<std::uintptr_t>(ids.data());
    const auto at = reinterpret_cast<std::uintptr_t>(id);
    if (ids.empty() || at < begin || at - begin >= ids.size()) return std::nullopt;
    return static_cast<std::size_t>(at - begin);
  }
  const UvMap* MapAt(std::optional<std::size_t> index) const {
    if (!index) return nullptr;
    const std::size_t uvMaps = mesh_->uvMaps.size();
    return *index < uvMaps ? &mesh_->uvMaps[*index] : &mesh_->colorMaps[*index - uvMaps];
  }

  LWMeshInfo info_;
  const Mesh* mesh_;
  std::optional<Mesh> own_;  // the copy, once detached
  // One byte per element: only their addresses are used, as identifiers.
  std::vector<unsigned char> pointIds_;
  std::vector<unsigned char> polygonIds_;
  std::vector<unsigned char> mapIds_;
  std::optional<std::size_t> selected_;
};

}  // namespace host
