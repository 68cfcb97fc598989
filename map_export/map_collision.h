// The collision file the map command writes beside its DFF: one COL3 entry
// named after the DFF, from the scene's collision and shadow items, or from
// the visible triangles when the scene has no collision item.
//
// Every position is taken from a model as the clump writer writes it (the
// geometry's positions through its frame and the frames above it, as the
// FrameList carries them), so that the collision lies exactly where the
// game draws the model.  The visible model comes from the map command's own
// exporter; the collision and shadow items, which that exporter leaves out,
// are built by a second exporter that keeps them, with the same frame
// builder and geometry builder.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "col/entry_builder.h"
#include "scene/dff_exporter.h"
#include "scene/export_messages.h"
#include "scene/host_services.h"

namespace mapexport {

// What the visible model gives the COL entry: every written position, for
// the bounds, and its triangles when no item is a collision item.  Read
// from the built map model before it is released.
col::EntrySource VisibleModelSource(const scene::DffExporter& exporter);

struct MapCollision {
  // Shown before the summary: a cut name, collision surfaces that name no
  // surface type, a visible model too large to stand in for the collision.
  std::vector<scene::MessageLines> warnings;
  // The COL file was not written because the collision does not fit it, or
  // the file could not be written; line1 says why.
  std::optional<std::string> error;
  // "house.col (12 faces, 2 surfaces)" once written; empty otherwise.
  std::string summary;
  // A sentence for the summary's notes when the visible triangles stand in
  // for the collision; empty otherwise.
  std::string note;
};

// Adds the collision and shadow items `leftOut` to `source`, builds the
// entry named after the DFF at `dffPath`, and writes it to `colPath` whole
// or not at all.
MapCollision WriteMapCollision(const scene::HostServices& services,
                               const std::vector<scene::DffExporter::LeftOutItem>& leftOut,
                               col::EntrySource source, const std::string& dffPath, const std::string& colPath);

}  // namespace mapexport
