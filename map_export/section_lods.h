// The LOD models the section command builds for large models that have
// none of the user's.
//
// A model gets one when it is no LOD itself, no LOD item stands in for it,
// and its radius (the farthest visible vertex from its origin) is at least
// kLodRadius: such a model is drawn from 150 m or more (50 m plus five
// times its radius), far enough that its disappearing shows.  The LOD is
// the model's mesh simplified to at most kLodTriangleShare of its
// triangles, unless the surface would then stray from the model's by more
// than kLodErrorLimit of its extent; texture and colour seams and material
// borders are kept (simplify/simplify_mesh.h).  It is named by
// section::GeneratedLodName, uses the model's materials and TXD, and
// stands at every instance of the model, linked to it as a LOD item is.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "col/collision_model.h"
#include "map_export/section_scan.h"
#include "scene/export_messages.h"
#include "scene/mesh_object.h"
#include "simplify/simplify_mesh.h"

namespace mapexport {

constexpr double kLodRadius = 20.0;
constexpr double kLodTriangleShare = 0.25;
constexpr double kLodErrorLimit = 0.02;

// Names the LOD of every model that may get one (SectionModelPlan::
// generatedLod); an error when a name equals another model's without
// regard to case.
std::optional<scene::MessageLines> PlanGeneratedLods(std::vector<SectionModelPlan>& models);

// What a LOD is built from, taken from the model's built mesh before the
// exporter is released: the mesh in the model's space (its normals too,
// which a model without colour maps has) and its materials.
struct LodSource {
  std::string name;
  simplify::Mesh mesh;
  std::vector<scene::MaterialEntry> materials;
};
LodSource TakeLodSource(const std::string& name, const scene::MeshObject& mesh);

struct GeneratedLod {
  std::string name;
  std::vector<std::uint8_t> dff;
  col::Entry collision;  // its bounds alone, unnumbered
  std::size_t trianglesBefore = 0;
  std::size_t trianglesAfter = 0;
  double errorBound = 0;  // metres
};

struct LodBuild {
  std::optional<GeneratedLod> lod;
  std::optional<std::string> error;  // what failed, naming the LOD
};

// Simplifies and writes the LOD; reads no host service, so it may run on
// any thread.
LodBuild BuildGeneratedLod(const LodSource& source);

// "LODhouse from house: 12000 to 2999 triangles, within 0.12 m"
std::string DescribeLod(const GeneratedLod& lod, const std::string& model);

}  // namespace mapexport
