// One model of a map section built as the map command builds its model:
// the DFF with day and night colours, the TXD from the scene's images and
// the COL3 entry, here in memory for the section's archive.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "col/collision_model.h"
#include "plugin/export_messages.h"
#include "plugin/host_services.h"
#include "plugin/section_scan.h"

namespace plugin {

struct SectionModel {
  std::vector<std::uint8_t> dff;
  std::vector<std::uint8_t> txd;
  std::optional<col::Entry> collision;  // none when the visible fallback is too large
  // The farthest a visible vertex stands from the model's origin.
  double radius = 0;
  // A material is see-through or its texture has alpha.
  bool alpha = false;
  std::size_t textureCount = 0;
  std::vector<MessageLines> warnings;
  std::optional<MessageLines> error;
};

SectionModel BuildSectionModel(const HostServices& services, const SectionModelPlan& plan);

}  // namespace plugin
