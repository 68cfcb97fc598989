// The host may use the module's host interface alone.  The next two lines
// hold what CMake lists treat specially: [a; b] \
int unused[2];
#include "plugin/export_command.h"
