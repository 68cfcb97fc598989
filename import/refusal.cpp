#include "import/refusal.h"

namespace import {

std::string DamageMessage(const dffinfo::Inspection& inspection, const std::string& path) {
  if (inspection.sound()) return {};
  std::string message;
  for (const dffinfo::Finding& finding : inspection.findings.all()) {
    if (finding.severity == dffinfo::Severity::Damage) message += dffinfo::Describe(finding) + "\n";
  }
  return message + path + " is damaged: readers that rely on the places named above will misread it";
}

}  // namespace import
