// dffinfo's listing of a map section, as text and as JSON.
#pragma once

#include <nlohmann/json.hpp>

#include <ostream>

#include "tools/dffinfo/section_check.h"

namespace dffinfo {

// The models, instances and archive entries, one line each.
void PrintSectionText(std::ostream& out, const SectionFiles& section);
// One line per finding: "damage:" or "warning:", the file, the message.
void PrintSectionFindings(std::ostream& out, const SectionFiles& section);
// With `listing` false, only the files and the findings.
nlohmann::json SectionToJson(const SectionFiles& section, bool listing);

}  // namespace dffinfo
