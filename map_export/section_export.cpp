#include "map_export/section_export.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "col/col3_writer.h"
#include "platform/host_path.h"
#include "platform/path_rules.h"
#include "map_export/instance_effects.h"
#include "map_export/map_dictionary.h"
#include "map_export/section_lod_lines.h"
#include "map_export/section_models.h"
#include "map_export/section_scan.h"
#include "platform/worker_threads.h"
#include "section/file_set.h"
#include "section/ide_file.h"
#include "section/img_archive.h"
#include "section/install_lines.h"
#include "section/ipl_file.h"
#include "section/model_ids.h"
#include "section/section_limits.h"

namespace mapexport {
namespace {
namespace fs = std::filesystem;

// A new model is drawn from 50 m away plus five times its size, up to the
// farthest the game draws a model that is not a low-detail stand-in.
double DefaultDrawDistance(double radius) {
  return std::min(section::kMaxDetailDrawDistance, std::ceil(50.0 + 5.0 * radius));
}

std::uint32_t DefaultFlags(bool alpha) { return alpha ? section::kFlagDrawLast : 0; }

// The game's own LOD models are drawn from 800 m and cast no dynamic
// shadows.
constexpr double kLodDrawDistance = 800.0;

section::ModelDefaults DefaultsOf(const SectionModelPlan& plan, const SectionModel& model) {
  if (plan.lodOf) {
    return {plan.name, plan.name, kLodDrawDistance, DefaultFlags(model.alpha) | section::kFlagNoDynamicShadows};
  }
  return {plan.name, plan.name, DefaultDrawDistance(model.radius), DefaultFlags(model.alpha)};
}

struct EarlierIde {
  std::vector<section::IdeObject> objects;
  std::optional<scene::MessageLines> error;
};

EarlierIde ReadEarlierIde(const fs::path& path, const std::string& shown) {
  EarlierIde earlier;
  std::error_code missing;
  if (!fs::exists(path, missing)) return earlier;
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  if (!in) {
    earlier.error = scene::MessageLines{"The section's IDE " + shown + " could not be read.",
                                 "It holds the section's IDs; make it readable, or move it away to start afresh."};
    return earlier;
  }
  section::IdeRead read = section::ReadIdeObjects(text.str());
  if (!read.error.empty()) {
    earlier.error = scene::MessageLines{"The section's IDE " + shown + " cannot be kept: " + read.error + ".",
                                 "Correct that line (the IDE holds the section's IDs, draw distances and flags), or "
                                 "move the file away to start afresh. Nothing was written."};
  }
  earlier.objects = std::move(read.objects);
  return earlier;
}

void AppendNumbered(col::Entry entry, int id, std::vector<std::uint8_t>& bytes) {
  entry.modelId = static_cast<std::uint16_t>(id);
  col::AppendCol3Entry(entry, bytes);
}

std::vector<std::uint8_t> CollisionArchive(const std::vector<SectionModel>& models,
                                           const std::vector<section::IdeObject>& objects) {
  std::vector<std::uint8_t> bytes;
  for (std::size_t i = 0; i < models.size(); ++i) {
    if (models[i].collision) AppendNumbered(*models[i].collision, objects[i].id, bytes);
  }
  const std::vector<std::optional<std::size_t>> lodObjects = GeneratedLodObjects(models);
  for (std::size_t i = 0; i < models.size(); ++i) {
    if (models[i].lod) AppendNumbered(models[i].lod->collision, objects[*lodObjects[i]].id, bytes);
  }
  return bytes;
}

std::vector<section::IplInstance> Instances(const SectionScan& scan, const std::vector<section::IdeObject>& objects,
                                            std::vector<scene::MessageLines>& warnings) {
  std::vector<section::IplInstance> lines;
  std::vector<std::string> tilted;
  for (const SectionInstancePlan& instance : scan.instances) {
    section::IplInstance line;
    line.id = objects[instance.model].id;
    line.model = objects[instance.model].model;
    line.position = instance.world.translation;
    line.rotation = section::StoredRotation(instance.world.linear);
    line.lod = instance.lod;
    if (section::GameDropsTilt(line.rotation)) tilted.push_back("\"" + instance.itemName + "\"");
    lines.push_back(line);
  }
  if (!tilted.empty()) {
    std::string names;
    for (std::size_t i = 0; i < tilted.size(); ++i) names += (i == 0 ? "" : ", ") + tilted[i];
    warnings.push_back({"The game will stand " + names + " upright: it drops a tilt of less than about 5.7 degrees "
                        "and keeps only the heading.",
                        "Tilt the object in Modeler instead, or tilt it further."});
  }
  return lines;
}

// Reads each model through the host on this thread and finishes it on
// the workers meanwhile.  The first model that cannot be built ends the
// reading; the models after it stay empty.
std::vector<SectionModel> BuildModels(const scene::HostServices& services, const LWLightInfo* lightInfo,
                                      const SectionScan& scan) {
  const txdbuild::ImageLookup lookup = MapImageLookup(services);
  std::vector<SectionModel> models(scan.models.size());
  txdbuild::SharedTextures shared;
  platform::WorkerThreads workers;
  for (std::size_t i = 0; i < models.size(); ++i) {
    models[i] = PrepareSectionModel(services, lightInfo, scan.models[i]);
    if (models[i].error) break;
    workers.Add([&lookup, &shared, &model = models[i], &name = scan.models[i].name] {
      try {
        FinishSectionModel(lookup, shared, model);
      } catch (const std::exception& error) {
        model.error = scene::MessageLines{"The textures or collision of the model " + name +
                                       " could not be built: " + error.what() + ".",
                                   "Nothing of the section was written."};
      }
    });
  }
  workers.Finish();
  return models;
}

// Every model sees the items that hang under no object, so each reports
// them alike: the user reads it once.
void AddOnce(std::vector<scene::MessageLines>& warnings, const scene::MessageLines& warning) {
  const auto same = [&warning](const scene::MessageLines& had) {
    return had.line1 == warning.line1 && had.line2 == warning.line2;
  };
  if (std::none_of(warnings.begin(), warnings.end(), same)) warnings.push_back(warning);
}

}  // namespace

SectionOutcome ExportSection(const scene::HostServices& services, const LWLightInfo* lightInfo,
                             const std::string& idePath, int firstId, bool makeLods) {
  SectionOutcome outcome;
  const fs::path ide = platform::PathFromHostText(idePath, services.ServedAs(scene::Service::kFileRequest).text);
  const std::string name = platform::RemoveExtension(platform::StripPath(idePath));
  const std::string problem = section::ImgNameProblem(name + ".col");
  if (!problem.empty()) {
    outcome.error = scene::MessageLines{"The section cannot be named " + name + ": " + problem + ".",
                                 "Choose an IDE name of at most 19 letters, digits, '_' or '-'."};
    return outcome;
  }
  SectionScan scan = ScanSection(services);
  outcome.warnings = scan.warnings;
  if (scan.error) {
    outcome.error = scan.error;
    return outcome;
  }
  if (const auto otherEffects = InstancesWithOtherEffects(services, scan)) outcome.warnings.push_back(*otherEffects);
  if (makeLods) {
    outcome.error = PlanGeneratedLods(scan.models);
    if (outcome.error) return outcome;
  }
  const EarlierIde earlier = ReadEarlierIde(ide, idePath);
  if (earlier.error) {
    outcome.error = earlier.error;
    return outcome;
  }

  std::vector<SectionModel> models = BuildModels(services, lightInfo, scan);
  std::vector<section::ModelDefaults> defaults;
  for (std::size_t i = 0; i < models.size(); ++i) {
    const SectionModel& model = models[i];
    for (const scene::MessageLines& warning : model.warnings) AddOnce(outcome.warnings, warning);
    if (model.error) {
      outcome.error = model.error;
      return outcome;
    }
    defaults.push_back(DefaultsOf(scan.models[i], model));
  }
  // A generated LOD names its model's TXD: it uses the same textures.
  for (std::size_t i = 0; i < models.size(); ++i) {
    if (!models[i].lod) continue;
    defaults.push_back({models[i].lod->name, scan.models[i].name, kLodDrawDistance,
                        DefaultFlags(models[i].alpha) | section::kFlagNoDynamicShadows});
  }
  const section::IdPlan ids = section::PlanModelIds(defaults, earlier.objects, firstId);
  if (!ids.error.empty()) {
    outcome.error = scene::MessageLines{"The section's models cannot be given IDs: " + ids.error + ".",
                                 "Lower the first ID (or the IDs in " + idePath + ") and export again."};
    return outcome;
  }

  section::FileSet files;
  const fs::path folder = ide.parent_path();
  std::vector<section::ImgEntry> archive;
  for (std::size_t i = 0; i < models.size(); ++i) {
    archive.push_back({scan.models[i].name + ".dff", std::move(models[i].dff)});
    archive.push_back({scan.models[i].name + ".txd", std::move(models[i].txd)});
  }
  for (SectionModel& model : models) {
    if (model.lod) archive.push_back({model.lod->name + ".dff", std::move(model.lod->dff)});
  }
  archive.push_back({name + ".col", CollisionArchive(models, ids.objects)});
  std::vector<std::uint8_t> img;
  try {
    img = section::BuildImgArchive(archive);
  } catch (const std::invalid_argument& error) {
    outcome.error = scene::MessageLines{std::string("The section's IMG archive cannot be made: ") + error.what() + ".",
                                 "Rename the object file or the section. Nothing was written."};
    return outcome;
  }
  std::vector<section::IplInstance> instances = Instances(scan, ids.objects, outcome.warnings);
  AppendGeneratedLodLines(models, scan, ids.objects, instances);
  if (instances.size() > section::kMaxTextIplInstances) {
    outcome.error = scene::MessageLines{
        "The section's " + std::to_string(scan.instances.size()) + " instances and their generated LOD models "
            "need " + std::to_string(instances.size()) + " IPL lines, but one IPL file of the game holds " +
            std::to_string(section::kMaxTextIplInstances) + " at most.",
        "Export the scene as two or more sections, or without building LOD models. Nothing was written."};
    return outcome;
  }
  files.Add(ide, section::WriteIde(ids.objects));
  files.Add(folder / (name + ".ipl"), section::WriteIpl(instances));
  files.Add(folder / (name + ".img"), std::move(img));
  files.Add(folder / (name + ".txt"), section::InstallInstructions(name));
  std::string error;
  if (!files.Commit(error)) {
    outcome.error = scene::MessageLines{error, "Choose another folder, or free the files, and export again."};
    return outcome;
  }
  const auto kept = static_cast<std::size_t>(std::count(ids.kept.begin(), ids.kept.end(), true));
  outcome.summary = "Wrote " + name + ".ide (" + std::to_string(ids.objects.size()) + " models, " + std::to_string(kept) +
                    " with the IDs they had), " + name + ".ipl (" + std::to_string(instances.size()) +
                    " instances), " + name + ".img (" + std::to_string(archive.size()) + " files) and " + name +
                    ".txt (how to install it)." + GeneratedLodSummary(models, scan);
  return outcome;
}

}  // namespace mapexport
