#include "import_scene/model_files.h"

#include <filesystem>

#include "import/game_files.h"
#include "import_scene/lightwave_files.h"
#include "import_scene/read_part.h"
#include "import_scene/txd_search.h"

namespace import_scene {
namespace {

namespace fs = std::filesystem;
using Outcome = Conversion::Outcome;

std::optional<std::string> Beside(const fs::path& dff, const char* extension) {
  fs::path beside = dff;
  beside.replace_extension(extension);
  std::error_code error;
  if (fs::is_regular_file(beside, error)) return beside.u8string();
  return std::nullopt;
}

}  // namespace

std::optional<import::Model> ReadModel(const std::string& dff, const std::optional<std::string>& col,
                                       Conversion& conversion) {
  std::optional<import::Model> model = ReadPart<import::Model>(dff, import::ReadDff, conversion);
  if (!model) return std::nullopt;
  // The map command writes a model's COL file beside it rather than in it.
  const std::optional<std::string> colFile =
      col ? col : model->collision ? std::nullopt : Beside(fs::u8path(dff), ".col");
  if (colFile) {
    auto collision = ReadPart<import::Collision>(*colFile, import::ReadCol, conversion);
    if (!collision) return std::nullopt;
    model->collision = std::move(*collision);
  }
  return model;
}

Conversion ConvertModel(const ModelFiles& files, const std::string& folder) {
  Conversion conversion;
  const fs::path dff = fs::u8path(files.dff);
  std::optional<import::Model> model = ReadModel(files.dff, files.col, conversion);
  if (!model) return conversion;
  if (!ReadModelTextures(files, *model, conversion)) return conversion;
  const SceneFiles scene = ToLightWave(*model, dff.stem().u8string());
  conversion.warnings.insert(conversion.warnings.end(), scene.warnings.begin(), scene.warnings.end());
  if (std::string error = WriteSceneFiles(scene, folder); !error.empty()) {
    conversion.outcome = Outcome::kNotWritten;
    conversion.error = error;
    return conversion;
  }
  conversion.scenePath = (fs::u8path(folder) / scene.sceneFileName).u8string();
  return conversion;
}

}  // namespace import_scene
