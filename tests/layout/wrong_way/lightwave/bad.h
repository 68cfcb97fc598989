// An object file record that reaches up into the host.
#include "host/scene_model.h"
