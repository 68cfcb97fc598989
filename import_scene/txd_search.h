// The texture dictionary a model's textures come from, looked for as a
// modder keeps it: the one named, else the one of the model's name beside
// it, else the dictionary of its folder that holds its textures, else the
// one the user picks when asked.
#pragma once

#include "import/import_model.h"
#include "import_scene/model_files.h"

namespace import_scene {

// Reads into `model.textures` the dictionary found for `files.dff`:
//   - `files.txd` when given;
//   - else NAME.txd beside NAME.dff, the extension in any case;
//   - else, of the folder's other .txd files, the first by file name that
//     holds every texture the model's materials name, failing that the one
//     that holds the most of them (at least one); a file that cannot be
//     read or that dffinfo calls damaged is passed over with a warning;
//   - else the one `files.askForTxd` returns;
//   - else none: a warning, and the textures stay named without images.
// A dictionary chosen by the folder search is named in a warning.  A named,
// same-named or picked dictionary that cannot be read or is damaged fails
// the conversion: false, with its outcome and error set.
bool ReadModelTextures(const ModelFiles& files, import::Model& model, Conversion& conversion);

}  // namespace import_scene
