// A mesh snapshot as "LW Object Info 5" meshInfo hands it out: a private
// copy of one object's mesh behind the 19 members of LWMeshInfo.
//
// The copy keeps the snapshot unchanged while a test edits the scene, as a
// Layout snapshot is unaffected by later edits.  Point and polygon
// identifiers are addresses inside the snapshot, so they are valid exactly
// as long as the snapshot and belong to it alone.
#pragma once

#include <cstddef>
#include <optional>
#include <vector>

#include "host/scene_model.h"
#include "plugin/lw_host.h"

namespace host {

class MeshSnapshot {
 public:
  explicit MeshSnapshot(Mesh mesh);
  MeshSnapshot(const MeshSnapshot&) = delete;
  MeshSnapshot& operator=(const MeshSnapshot&) = delete;

  // The identifier handed to the module: the address of the table.
  LWMeshInfo* info() { return &info_; }
  const Mesh& mesh() const { return mesh_; }

  LWPntID PointId(std::size_t index);
  std::optional<std::size_t> PointIndex(LWPntID point) const;
  LWPolID PolygonId(std::size_t index);
  std::optional<std::size_t> PolygonIndex(LWPolID polygon) const;

  // Vertex map handles are the addresses of this snapshot's own maps.
  const UvMap* FindUvMap(const char* name) const;
  const UvMap* OwnUvMap(const void* vmap) const;

  const UvMap* selected() const { return selected_; }
  void Select(const UvMap* map) { selected_ = map; }

 private:
  LWMeshInfo info_;
  Mesh mesh_;
  // One byte per element: only their addresses are used, as identifiers.
  std::vector<unsigned char> pointIds_;
  std::vector<unsigned char> polygonIds_;
  const UvMap* selected_ = nullptr;
};

}  // namespace host
