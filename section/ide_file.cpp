#include "section/ide_file.h"

#include <cstdlib>

#include "section/map_text.h"

namespace section {
namespace {

bool ParseInteger(const std::string& text, long long& value) {
  char* end = nullptr;
  value = std::strtoll(text.c_str(), &end, 10);
  return end != text.c_str() && *end == '\0';
}

bool ParseDouble(const std::string& text, double& value) {
  char* end = nullptr;
  value = std::strtod(text.c_str(), &end);
  return end != text.c_str() && *end == '\0';
}

}  // namespace

IdeRead ReadIdeObjects(const std::string& text) {
  IdeRead read;
  for (const MapTextLine& line : ReadMapText(text)) {
    if (line.section != "objs") continue;
    const std::string where = "line " + std::to_string(line.number);
    if (line.fields.size() != 5) {
      read.error = where + " has " + std::to_string(line.fields.size()) +
                   " fields; an objs line the exporter keeps has five: ID, model, TXD, draw distance, flags";
      return read;
    }
    long long id = 0;
    long long flags = 0;
    IdeObject object;
    if (!ParseInteger(line.fields[0], id) || id < 0 || id > 0x7FFFFFFF) {
      read.error = where + " has the ID \"" + line.fields[0] + "\", which is not a model ID";
      return read;
    }
    if (!ParseDouble(line.fields[3], object.drawDistance)) {
      read.error = where + " has the draw distance \"" + line.fields[3] + "\", which is not a number";
      return read;
    }
    if (!ParseInteger(line.fields[4], flags) || flags < 0 || flags > 0xFFFFFFFFll) {
      read.error = where + " has the flags \"" + line.fields[4] + "\", which are not a whole number";
      return read;
    }
    object.id = static_cast<int>(id);
    object.model = line.fields[1];
    object.txd = line.fields[2];
    object.flags = static_cast<std::uint32_t>(flags);
    read.objects.push_back(object);
  }
  return read;
}

std::string WriteIde(const std::vector<IdeObject>& objects) {
  std::string text = "objs\n";
  for (const IdeObject& object : objects) {
    text += std::to_string(object.id) + ", " + object.model + ", " + object.txd + ", " +
            FormatNumber(object.drawDistance) + ", " + std::to_string(object.flags) + "\n";
  }
  text += "end\n";
  return text;
}

}  // namespace section
