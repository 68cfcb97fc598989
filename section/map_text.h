// The text the game's IDE and IPL readers take, read as they read it: each
// comma and control byte is a space, leading blanks are skipped, a line
// starting with # is a comment, a section runs from its keyword line to a
// line starting with "end".
#pragma once

#include <string>
#include <vector>

namespace section {

struct MapTextLine {
  int number = 0;  // 1-based line number in the file
  std::string section;  // the keyword of the section the line sits in
  std::vector<std::string> fields;
};

// Every line inside a section, in file order; keyword and end lines, blank
// lines and comments are not listed.
std::vector<MapTextLine> ReadMapText(const std::string& text);

// A number as written in the files: at most nine significant digits, no
// exponent, no trailing zeros ("2606.88281", "-0.707106781", "0").
std::string FormatNumber(double value);

}  // namespace section
