#include <cstddef>
#include <string>
#include <string_view>

#include "lwsdk/mesh_info.h"
#include "scene/geometry_steps.h"
#include "scene/material_builder.h"

namespace scene {
namespace {

// The position of a polygon's surface entry; a tag that names no surface
// of the object gets a default entry, after the object's own, which later
// polygons with that tag share.
std::int32_t SurfaceOfTag(MeshObject& object, std::string_view tag) {
  const std::int32_t found = object.SurfacePosition(tag);
  return found >= 0 ? found : object.AddSurface(MakeDefaultMaterial(tag));
}

}  // namespace

void ReadSurfaces(MeshObject& object) {
  if (object.objectFileName == nullptr) return;
  const LWSurfaceID* surfaces = object.surfaceFuncs->byObject(object.objectFileName);
  if (surfaces == nullptr) return;
  for (; *surfaces != nullptr; ++surfaces) {
    object.AddSurface(MakeMaterialEntry(*surfaces, *object.surfaceFuncs, *object.textureFuncs, *object.imageList));
  }
}

// The triangles of one polygon follow each other, so the tag is asked once
// per polygon; and as polygons mostly come in runs of one surface, a tag
// equal to the one before keeps its entry without a lookup.
void AssignPolygonSurfaces(MeshObject& object, LWMeshInfoID mesh) {
  object.polygonSurfaces.reserve(object.polygons.size());
  LWPolID previousPolygon = nullptr;
  std::string previousTag;
  std::int32_t surface = -1;
  for (const MeshPolygon& triangle : object.polygons) {
    if (surface < 0 || triangle.polygonId != previousPolygon) {
      previousPolygon = triangle.polygonId;
      const char* text = mesh->polTag(mesh, triangle.polygonId, LWPTAG_SURF);
      const std::string_view tag = text != nullptr ? std::string_view(text) : std::string_view();
      if (surface < 0 || tag != previousTag) {
        surface = SurfaceOfTag(object, tag);
        previousTag.assign(tag);
      }
    }
    ++object.surfaces[static_cast<std::size_t>(surface)].triangleCount;
    object.polygonSurfaces.push_back(surface);
  }
}

// Only surfaces that triangles use become materials, in surface order;
// with seeThroughLast, the opaque ones first, so that the game draws what
// lies behind a see-through material before it.
void BuildMaterialList(MeshObject& object) {
  for (const bool seeThroughPass : {false, true}) {
    for (MaterialEntry& entry : object.surfaces) {
      const bool seeThrough = object.seeThroughLast && entry.rgba[3] < 255;
      if (entry.triangleCount == 0 || seeThrough != seeThroughPass) continue;
      entry.materialIndex = static_cast<std::int32_t>(object.materials.size());
      object.materials.push_back(entry);
    }
  }
  object.cornerMaterials.reserve(object.polygonSurfaces.size() * 3);
  for (std::int32_t surface : object.polygonSurfaces) {
    const std::int32_t material = object.surfaces[static_cast<std::size_t>(surface)].materialIndex;
    object.cornerMaterials.insert(object.cornerMaterials.end(), 3, material);
  }
}

}  // namespace scene
