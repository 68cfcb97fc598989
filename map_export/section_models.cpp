#include "map_export/section_models.h"

#include <cmath>
#include <unordered_set>

#include "dff/output_stream.h"
#include "map_export/map_collision.h"
#include "map_export/map_dictionary.h"
#include "map_export/map_effects.h"
#include "map_export/map_findings.h"
#include "txd_build/dictionary_file.h"

namespace mapexport {
namespace {

double Radius(const col::EntrySource& source) {
  double radius = 0;
  for (const col::Point& p : source.visual) {
    radius = std::max(radius, std::sqrt(p[0] * p[0] + p[1] * p[1] + p[2] * p[2]));
  }
  return radius;
}

bool SeeThrough(const scene::DffExporter& exporter) {
  for (const auto& mesh : exporter.meshObjects) {
    for (const scene::MaterialEntry& material : mesh->materials) {
      if (material.rgba[3] < 255) return true;
    }
  }
  return false;
}

void Append(std::vector<scene::MessageLines>& to, const std::vector<scene::MessageLines>& from) {
  to.insert(to.end(), from.begin(), from.end());
}

// Hangs the first instance's lights and effects on the model; false, with
// the model's error set, when one cannot be written.
bool AttachSectionEffects(const scene::HostServices& services, const LWLightInfo* lightInfo,
                          scene::DffExporter& exporter, SectionModel& model) {
  const effects::EffectsOutcome attached =
      effects::AttachEffects(*services.itemInfo, *services.objectInfo, lightInfo, exporter);
  Append(model.warnings, EffectWarnings(attached));
  if (!attached.error) return true;
  model.error = scene::MessageLines{attached.error->line1, attached.error->line2};
  return false;
}

}  // namespace

SectionModel PrepareSectionModel(const scene::HostServices& services, const LWLightInfo* lightInfo,
                                 const SectionModelPlan& plan) {
  SectionModel model;
  const std::unique_ptr<scene::DffExporter> owned = scene::ExporterFor(services);
  scene::DffExporter& exporter = *owned;
  exporter.choices = scene::MapObjectChoices();
  exporter.choices.seeThroughMaterialsLast = true;
  const std::unordered_set<LWItemID> items(plan.items.begin(), plan.items.end());
  exporter.choices.keepItem = [&items](LWItemID item) { return items.count(item) > 0; };
  exporter.choices.modelRoot = plan.items.front();
  exporter.BuildFrames();
  exporter.BuildAllGeometry();
  if (exporter.meshObjects.size() != 1) {
    const std::size_t count = exporter.meshObjects.size();
    exporter.ReleaseAll();
    model.error = scene::MessageLines{
        "The model " + plan.name + " would have " + std::to_string(count) +
            " geometries, but the game keeps one of a map model and drops the others.",
        "Merge the visible layers of " + plan.objectFile + " into one and keep it under 65,535 vertices."};
    return model;
  }
  const scene::BuildChoices placedAs = exporter.choices;
  model.warnings = DescribeMapModel(*services.itemInfo, exporter, plan.name + ".dff").warnings;
  if (!AttachSectionEffects(services, lightInfo, exporter, model)) {
    exporter.ReleaseAll();
    return model;
  }
  model.textureUses = ModelTextureUses(*services.itemInfo, exporter);
  model.collisionSource = VisibleModelSource(exporter);
  const std::vector<scene::DffExporter::LeftOutItem> leftOut = exporter.leftOutItems;
  model.alpha = SeeThrough(exporter);
  model.radius = Radius(model.collisionSource);
  if (plan.generatedLod && model.radius >= kLodRadius) {
    model.lodSource = TakeLodSource(*plan.generatedLod, *exporter.meshObjects.front());
  }
  dff::OutputStream dff;
  exporter.WriteClump(dff);
  exporter.ReleaseAll();
  if (dff.failed()) {
    model.error = scene::MessageLines{"The DFF of the model " + plan.name + " could not be built: " + dff.error() + ".", ""};
    return model;
  }
  model.dff = dff.bytes();
  model.collisionSource.name = plan.name;
  // The game gives an instance that stands in for others no collision, so
  // a LOD model's entry holds its bounds alone.
  model.collisionSource.boundsOnly = plan.lodOf.has_value();
  model.visibleAsCollision = GatherMapCollision(services, leftOut, placedAs, model.collisionSource);
  return model;
}

void FinishSectionModel(const txdbuild::ImageLookup& lookup, SectionModel& model) {
  const MapTextures built = BuildMapTextures(lookup, model.textureUses);
  Append(model.warnings, built.warnings);
  for (const txd::NativeTexture& texture : built.textures) model.alpha |= (texture.flags & txd::kFlagAlpha) != 0;
  model.txd = txdbuild::DictionaryBytes(built.textures);

  const MapCollisionEntry collision = FinishMapCollision(
      model.collisionSource, "The COL entry of " + model.collisionSource.name, model.visibleAsCollision);
  model.collisionSource = col::EntrySource();
  Append(model.warnings, collision.warnings);
  if (collision.error) {
    model.error = scene::MessageLines{*collision.error, "Nothing of the section was written."};
    return;
  }
  if (!collision.leftOut) model.collision = collision.built.entry;
  if (!model.lodSource) return;
  LodBuild lod = BuildGeneratedLod(*model.lodSource);
  model.lodSource.reset();
  if (lod.error) {
    model.error = scene::MessageLines{*lod.error + ".", "Nothing of the section was written."};
    return;
  }
  model.lod = std::move(lod.lod);
  const double share =
      static_cast<double>(model.lod->trianglesAfter) / static_cast<double>(model.lod->trianglesBefore);
  if (share > kLodTriangleShare) {
    model.warnings.push_back(
        {"The LOD model " + model.lod->name + " keeps " + std::to_string(model.lod->trianglesAfter) + " of " +
             std::to_string(model.lod->trianglesBefore) + " triangles: fewer would change its shape by more than "
             "the simplifier may.",
         "Replace it with a LOD object of your own (LOD<model> or <model>_lod) if it should be lighter."});
  }
}

}  // namespace mapexport
