// One model of a map section built as the map command builds its model:
// the DFF with day and night colours, the TXD from the scene's images and
// the COL3 entry, here in memory for the section's archive.
//
// The build runs in two steps.  Prepare reads the host, so it runs on the
// command's thread: it builds the DFF and gathers the texture names and
// collision triangles.  Finish reads no host service and may run on any
// thread: it builds the textures (decoding and compression, most of the
// time) and the COL entry.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "col/collision_model.h"
#include "col/entry_builder.h"
#include "lwsdk/light_info.h"
#include "scene/export_messages.h"
#include "scene/host_services.h"
#include "map_export/section_lods.h"
#include "map_export/section_scan.h"
#include "txd_build/dictionary_builder.h"

namespace mapexport {

struct SectionModel {
  std::vector<std::uint8_t> dff;
  std::vector<std::uint8_t> txd;
  std::optional<col::Entry> collision;  // none when the visible fallback is too large
  // The farthest a visible vertex stands from the model's origin.
  double radius = 0;
  // A material is see-through or its texture has alpha.
  bool alpha = false;
  // The LOD model built for this one (SectionModelPlan::generatedLod),
  // when it is large enough.
  std::optional<GeneratedLod> lod;
  std::vector<scene::MessageLines> warnings;
  std::optional<scene::MessageLines> error;

  // What Prepare gathers for Finish.
  std::vector<txdbuild::TextureUse> textureUses;
  col::EntrySource collisionSource;
  bool visibleAsCollision = false;
  std::optional<LodSource> lodSource;
};

// The model carries the lights and particle effects hung on its first
// instance; `lightInfo` may be null (AttachEffects).
SectionModel PrepareSectionModel(const scene::HostServices& services, const LWLightInfo* lightInfo,
                                 const SectionModelPlan& plan);

// `lookup` finds the images (MapImageLookup); `model` must be prepared
// without error.  Builds the model's LOD too when Prepare took its source.
void FinishSectionModel(const txdbuild::ImageLookup& lookup, SectionModel& model);

}  // namespace mapexport
