// The names of the ten services, and stand-in hosts that serve them the way
// older and newer Layouts do.
#pragma once

#include <array>
#include <string>

#include "host/standin_host.h"
#include "scene/host_services.h"

namespace scene::testing {

// In the order the command asks for the services.
inline const std::array<std::string, kServiceCount> kOldNames = {
    "Info Messages 2",     "LW Item Info 3",  "LW Scene Info 4",     "LW Object Info 5",
    "Scene Objects 4",     "Surface Functions 3", "LW Interface Info 4", "LW Image List 4",
    "Texture Functions 3", "File Request 2"};

// As Layout 2023 and later name them.
inline const std::array<std::string, kServiceCount> kNewestNames = {
    "Info Messages 4",     "LW Item Info 9",  "LW Scene Info 12",    "LW Object Info 14",
    "Scene Objects 9",     "Surface Functions 6", "LW Interface Info 8", "LW Image List 9",
    "Texture Functions 6", "File Request 3"};

// A host that no longer answers the old names, only the newest ones.
inline void ServeNewestNamesOnly(host::StandInHost& host) {
  for (std::size_t i = 0; i < kServiceCount; ++i) {
    host.Withhold(kOldNames[i]);
    host.ServeAlias(kNewestNames[i], kOldNames[i]);
  }
}

}  // namespace scene::testing
