#include "dff_inspect/findings.h"

#include <algorithm>
#include <utility>

namespace dffinfo {

void Findings::Damage(const std::string& path, std::size_t offset, std::string message) {
  findings_.push_back({Severity::Damage, path, offset, std::move(message)});
}

void Findings::Warn(const std::string& path, std::size_t offset, std::string message) {
  findings_.push_back({Severity::Warning, path, offset, std::move(message)});
}

bool Findings::HasDamage() const {
  return std::any_of(findings_.begin(), findings_.end(),
                     [](const Finding& f) { return f.severity == Severity::Damage; });
}

std::string Describe(const Finding& finding) {
  const char* kind = finding.severity == Severity::Damage ? "damage" : "warning";
  return std::string(kind) + " at " + finding.path + " (offset " +
         std::to_string(finding.offset) + "): " + finding.message;
}

}  // namespace dffinfo
