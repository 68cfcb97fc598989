#include "section/ipl_file.h"

#include "section/map_text.h"

namespace section {

std::string WriteIpl(const std::vector<IplInstance>& instances) {
  std::string text = "inst\n";
  for (const IplInstance& instance : instances) {
    text += std::to_string(instance.id) + ", " + instance.model + ", " + std::to_string(instance.interior);
    for (double value : instance.position) text += ", " + FormatNumber(value);
    for (double value : {instance.rotation.x, instance.rotation.y, instance.rotation.z, instance.rotation.w}) {
      text += ", " + FormatNumber(value);
    }
    text += ", " + std::to_string(instance.lod) + "\n";
  }
  text += "end\n";
  return text;
}

}  // namespace section
