// The host may use the file formats and Layout's interface.
#include "lightwave/records.h"
#include "lwsdk/types.h"
#include <vector>
