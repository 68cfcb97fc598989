// The host may use the file formats.
#include "lightwave/records.h"
#include "plugin/lw_host.h"
#include <vector>
