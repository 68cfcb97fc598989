// A game model's files read and written as a LightWave scene in one step,
// for lwhost --import and the import module's scene converter alike.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "import/import_model.h"

namespace import_scene {

// Every path here is UTF-8 text, so that a name outside the system's code
// page opens on Windows too.
struct ModelFiles {
  std::string dff;
  std::optional<std::string> txd;  // else found as import_scene/txd_search.h says
  std::optional<std::string> col;  // else the collision embedded, else NAME.col beside
  // Asks the user for the TXD when none is found beside the DFF: the path
  // chosen, or nothing for a cancel.  Empty where no one can be asked.
  std::function<std::optional<std::string>()> askForTxd;
};

struct Conversion {
  enum class Outcome {
    kWritten,
    kRefused,     // a file is damaged or not a model the import reads; nothing written
    kUnreadable,  // a file cannot be opened or read; nothing written
    kNotWritten,  // the scene's files cannot be written
  };
  Outcome outcome = Outcome::kWritten;
  std::string error;  // what failed, naming the file; empty when written
  std::vector<std::string> warnings;
  std::string scenePath;  // the scene written
};

// Reads the DFF and its collision: the COL file `col` when given, else the
// one embedded in the DFF, else NAME.col beside it.  On failure, nothing,
// with the conversion's outcome and error set; warnings join its warnings.
std::optional<import::Model> ReadModel(const std::string& dff, const std::optional<std::string>& col,
                                       Conversion& conversion);

// Reads the model and writes its scene, objects and images into `folder`
// (made if missing), the scene named after the DFF.
Conversion ConvertModel(const ModelFiles& files, const std::string& folder);

}  // namespace import_scene
