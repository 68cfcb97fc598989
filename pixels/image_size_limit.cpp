#include "pixels/image_size_limit.h"

#include "pixels/image_error.h"

namespace pixels {

void CheckImageSize(std::uint64_t width, std::uint64_t height, const std::string& name) {
  if (width == 0 || height == 0) RefuseImage(name, "it has no pixels");
  if (width > kMaxImageSide || height > kMaxImageSide) {
    RefuseImage(name, "it is " + std::to_string(width) + " x " + std::to_string(height) +
                          " pixels; images of up to " + std::to_string(kMaxImageSide) +
                          " pixels a side are taken, the largest texture the game uses (scale it down first)");
  }
}

}  // namespace pixels
