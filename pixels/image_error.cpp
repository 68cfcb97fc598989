#include "pixels/image_error.h"

namespace pixels {

void RefuseImage(const std::string& name, const std::string& reason) {
  throw ImageError("cannot decode the image " + name + ": " + reason);
}

}  // namespace pixels
