// The IDs, draw distances and flags of a section's models.  The IDE that
// an earlier export wrote is the section's settings: a model it lists
// keeps its ID, draw distance and flags as they stand there; a new model
// takes the next ID above the highest the IDE uses (the first ID when the
// IDE lists no model), and the exporter's draw distance and flags.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "section/ide_file.h"

namespace section {

struct ModelDefaults {
  std::string model;
  std::string txd;
  double drawDistance = 0;
  std::uint32_t flags = 0;
};

struct IdPlan {
  std::vector<IdeObject> objects;  // one per model, in the models' order
  std::vector<bool> kept;          // whether each came from the earlier IDE
  // Why no plan could be made; empty when `objects` is complete.
  std::string error;
};

// Names compare without case, as the game compares them.
IdPlan PlanModelIds(const std::vector<ModelDefaults>& models, const std::vector<IdeObject>& earlier, int firstId);

}  // namespace section
