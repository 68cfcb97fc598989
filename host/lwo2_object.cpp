#include "host/lwo2_object.h"

namespace host {

const Lwo2Layer* Lwo2Object::FindLayer(int number) const {
  for (const Lwo2Layer& layer : layers) {
    if (layer.number == number) return &layer;
  }
  return nullptr;
}

const Lwo2Clip* Lwo2Object::FindClip(std::uint32_t index) const {
  for (const Lwo2Clip& clip : clips) {
    if (clip.index == index) return &clip;
  }
  return nullptr;
}

}  // namespace host
