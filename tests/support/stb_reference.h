// stb_image 2.27 decoding every kind of file the way the texture tools did
// before each kind got its own reader: the reference that valid images
// must still decode to.  For the tests only, on files known to be valid or
// already accepted by the readers.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "pixels/rgba_image.h"

namespace testsupport {

// The image, or nothing when stb_image refuses the file.
std::optional<pixels::RgbaImage> StbReferenceDecode(const std::vector<std::uint8_t>& bytes);

}  // namespace testsupport
