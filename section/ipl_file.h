// The section's text IPL: one `inst` line per instance (ID, model,
// interior, position, stored rotation, LOD index).
#pragma once

#include <string>
#include <vector>

#include "placement/lightwave_placement.h"
#include "section/instance_rotation.h"

namespace section {

struct IplInstance {
  int id = 0;
  std::string model;
  int interior = 0;
  placement::Vec3 position{0, 0, 0};  // the game's axes, metres
  Quaternion rotation;                 // as stored: see instance_rotation.h
  int lod = -1;                        // index of the LOD instance's line, or -1
};

std::string WriteIpl(const std::vector<IplInstance>& instances);

struct IplRead {
  std::vector<IplInstance> instances;  // every inst line, in file order
  std::vector<int> lineNumbers;        // of each instance, 1-based
  // Lines the game would misread, each naming its line.
  std::vector<std::string> problems;
};

// The `inst` lines of an IPL file's text as the game reads them; other
// sections are passed over.
IplRead ReadIpl(const std::string& text);

}  // namespace section
