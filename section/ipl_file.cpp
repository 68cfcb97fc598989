#include "section/ipl_file.h"

#include <cmath>
#include <cstdlib>

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

namespace {

bool ParseNumber(const std::string& text, double& value) {
  char* end = nullptr;
  value = std::strtod(text.c_str(), &end);
  return end != text.c_str() && *end == '\0' && std::isfinite(value);
}

bool ParseWhole(const std::string& text, int& value) {
  char* end = nullptr;
  const long parsed = std::strtol(text.c_str(), &end, 10);
  if (end == text.c_str() || *end != '\0' || parsed < -2147483647L - 1 || parsed > 2147483647L) return false;
  value = static_cast<int>(parsed);
  return true;
}

}  // namespace

IplRead ReadIpl(const std::string& text) {
  IplRead read;
  for (const MapTextLine& line : ReadMapText(text)) {
    if (line.section != "inst") continue;
    const std::string where = "line " + std::to_string(line.number);
    if (line.fields.size() != 11) {
      read.problems.push_back(where + " has " + std::to_string(line.fields.size()) +
                              " fields where an inst line has 11");
      continue;
    }
    IplInstance instance;
    instance.model = line.fields[1];
    double numbers[7];
    bool parsed = ParseWhole(line.fields[0], instance.id) && ParseWhole(line.fields[2], instance.interior) &&
                  ParseWhole(line.fields[10], instance.lod);
    for (std::size_t i = 0; i < 7 && parsed; ++i) parsed = ParseNumber(line.fields[3 + i], numbers[i]);
    if (!parsed) {
      read.problems.push_back(where + " holds a field that is not a number where the game reads one");
      continue;
    }
    instance.position = {numbers[0], numbers[1], numbers[2]};
    instance.rotation = {numbers[3], numbers[4], numbers[5], numbers[6]};
    read.instances.push_back(instance);
    read.lineNumbers.push_back(line.number);
  }
  return read;
}

}  // namespace section
