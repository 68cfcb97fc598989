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

// The mesh's written positions where the game draws them: through its
// frame and every frame above it.
std::vector<col::Point> PointsInClumpSpace(const scene::MeshObject& mesh);

// What the visible model gives the COL entry: every written position, for
// the bounds, and its triangles when no item is a collision item.  Read
// from the built map model before it is released.
col::EntrySource VisibleModelSource(const scene::DffExporter& exporter);

// One model's COL entry, built and not yet written.
struct MapCollisionEntry {
  col::BuiltEntry built;
  // Shown before the summary, as for MapCollision.
  std::vector<scene::MessageLines> warnings;
  // The entry does not fit a COL file; line1 of an error message.
  std::optional<std::string> error;
  // The visible triangles would be the collision but are too many: there
  // is no entry, and a warning says so.
  bool leftOut = false;
  bool visibleAsCollision = false;
};

// Adds the triangles of the collision and shadow items `leftOut` to
// `source`, placed with the choices' keepItem and modelRoot as the visible
// model was.  Reads the host: call it on the command's thread.  Returns
// whether the visible triangles are the collision.
bool GatherMapCollision(const scene::HostServices& services, const std::vector<scene::DffExporter::LeftOutItem>& leftOut,
                        const scene::BuildChoices& itemChoices, col::EntrySource& source);

// Builds the entry of a gathered `source` (named and numbered by the
// caller); `colName` names the file it is meant for in messages.  Reads
// no host service.
MapCollisionEntry FinishMapCollision(const col::EntrySource& source, const std::string& colName,
                                     bool visibleAsCollision);

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
