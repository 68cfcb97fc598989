// The <section>.txt written beside a section: where its files go in the
// game's folder and the lines gta.dat needs, or the same for a mod loader.
#pragma once

#include <string>

namespace section {

// `name` is the section's base name ("street" for street.ide).
std::string InstallInstructions(const std::string& name);

}  // namespace section
