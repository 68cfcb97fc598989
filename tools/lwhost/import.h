// lwhost --import: a game model's DFF, with its TXD and COL, written as a
// LightWave scene with its objects and images.
#pragma once

#include "tools/lwhost/options.h"

namespace host::lwhost {

// Reads the model (the TXD beside the DFF, of the same name, unless --txd
// names one; the COL embedded in it unless --col names one, else NAME.col
// beside it) and writes the
// scene into -o's folder (else NAME_lw beside the DFF).  Returns lwhost's
// exit status: 0 written, 1 refused (damaged or unreadable as a model; nothing
// written), 2 a file that cannot be read.
int ImportModel(const Options& options);

}  // namespace host::lwhost
