#include "section/map_text.h"

#include <cmath>
#include <cstdio>
#include <sstream>

namespace section {
namespace {

std::vector<std::string> Fields(std::string line) {
  for (char& c : line) {
    if (c == ',' || static_cast<unsigned char>(c) < 0x20) c = ' ';
  }
  std::istringstream words(line);
  std::vector<std::string> fields;
  for (std::string word; words >> word;) fields.push_back(word);
  return fields;
}

bool StartsWith(const std::string& text, const char* prefix) { return text.rfind(prefix, 0) == 0; }

}  // namespace

std::vector<MapTextLine> ReadMapText(const std::string& text) {
  std::vector<MapTextLine> lines;
  std::istringstream input(text);
  std::string current;
  int number = 0;
  for (std::string raw; std::getline(input, raw);) {
    ++number;
    std::vector<std::string> fields = Fields(raw);
    if (fields.empty() || fields[0][0] == '#') continue;
    if (current.empty()) {
      current = fields[0];
      continue;
    }
    if (StartsWith(fields[0], "end")) {
      current.clear();
      continue;
    }
    lines.push_back({number, current, std::move(fields)});
  }
  return lines;
}

std::string FormatNumber(double value) {
  if (value == 0 || std::fabs(value) < 5e-10) return "0";
  const double size = std::fabs(value);
  const int digitsBeforePoint = size < 1 ? 0 : static_cast<int>(std::floor(std::log10(size))) + 1;
  const int decimals = digitsBeforePoint >= 9 ? 0 : 9 - digitsBeforePoint;
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.*f", decimals, value);
  std::string text = buffer;
  if (text.find('.') != std::string::npos) {
    while (text.back() == '0') text.pop_back();
    if (text.back() == '.') text.pop_back();
  }
  if (text == "-0") text = "0";
  return text;
}

}  // namespace section
