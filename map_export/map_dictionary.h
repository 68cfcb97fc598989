// The texture dictionary the map command writes beside its DFF: the
// textures the model's materials name, from the scene's images, built as
// maketxd builds them (automatic compression, mip levels).
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "scene/dff_exporter.h"
#include "scene/export_messages.h"
#include "scene/host_services.h"
#include "txd_build/texture_uses.h"

namespace mapexport {

// Every texture name of the model's materials (colour textures and
// environment maps), once each without regard to case, in model order.
// Read before the model is released.
std::vector<txdbuild::TextureUse> ModelTextureUses(const LWItemInfo& itemInfo, const scene::DffExporter& exporter);

struct MapDictionary {
  // One per image that was not found or could not be read.
  std::vector<scene::MessageLines> warnings;
  // The file could not be written.
  std::optional<scene::MessageLines> error;
  // "house.txd (3 textures)" once written.
  std::string summary;
};

// Builds the dictionary of `uses` from the images the host lists and writes
// it to `txdPath` (host text, as the DFF path came), whole or not at all.
MapDictionary WriteMapDictionary(const scene::HostServices& services, const std::vector<txdbuild::TextureUse>& uses,
                                 const std::string& txdPath);

}  // namespace mapexport
