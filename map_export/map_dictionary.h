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
#include "txd_build/dictionary_builder.h"
#include "txd_build/texture_uses.h"

namespace mapexport {

// Every texture name of the model's materials (colour textures and
// environment maps), once each without regard to case, in model order.
// Read before the model is released.
std::vector<txdbuild::TextureUse> ModelTextureUses(const LWItemInfo& itemInfo, const scene::DffExporter& exporter);

// Where the map command finds a texture's image: the file the host lists
// for the scene's image of that name, then the object files' folders.
// Made from the host on the command's thread; what it returns only reads
// the file system, so any thread may use it while it lives.
txdbuild::ImageLookup MapImageLookup(const scene::HostServices& services);

// The textures of `uses` from the images `lookup` finds, and a warning for
// each image not found or not readable.  Reads no host service.  With
// `shared`, a texture another model built from the same image is taken from
// there (see txd_build/shared_textures.h).
struct MapTextures {
  std::vector<txd::NativeTexture> textures;
  std::vector<scene::MessageLines> warnings;
};
MapTextures BuildMapTextures(const txdbuild::ImageLookup& lookup, const std::vector<txdbuild::TextureUse>& uses,
                             txdbuild::SharedTextures* shared = nullptr);

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
