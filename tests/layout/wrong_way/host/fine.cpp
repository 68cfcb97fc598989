// The host may use the file formats.
#include "lightwave/records.h"
#include "lwsdk/types.h"
#include <vector>
