// The brasko program: asks for a DFF file, walks its first chunk, and
// writes each collision record it reaches to a COL file of the user's
// choice.
#pragma once

#include "platform/dialogs.h"

namespace extractor {

// Runs the program through `dialogs` and returns its exit status: 0 when
// every collision chunk met was written completely (or none was met) and
// the DFF was sound, 1 after any error, each of which has been shown.
int RunBrasko(platform::Dialogs& dialogs);

}  // namespace extractor
