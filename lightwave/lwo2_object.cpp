#include "lightwave/lwo2_object.h"

namespace host {

const Lwo2Clip* Lwo2Object::FindClip(std::uint32_t index) const {
  for (const Lwo2Clip& clip : clips) {
    if (clip.index == index) return &clip;
  }
  return nullptr;
}

}  // namespace host
