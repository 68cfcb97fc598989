// A file format that reaches up into the model it writes.
#include "scene/dff_exporter.h"
