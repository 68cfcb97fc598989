// What the inspection found wrong with a file.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace dffinfo {

enum class Severity {
  // The file breaks what readers rely on; some reader will misread it.
  Damage,
  // The file reads correctly but exceeds a limit of the game.
  Warning,
};

struct Finding {
  Severity severity = Severity::Damage;
  std::string path;         // chunk path, e.g. Clump/GeometryList/Geometry[2]/Struct
  std::size_t offset = 0;   // file offset of the offending bytes
  std::string message;
};

class Findings {
 public:
  void Damage(const std::string& path, std::size_t offset, std::string message);
  void Warn(const std::string& path, std::size_t offset, std::string message);

  const std::vector<Finding>& all() const { return findings_; }
  bool HasDamage() const;

 private:
  std::vector<Finding> findings_;
};

// "damage at Clump/FrameList/Struct (offset 36): ..." for listings.
std::string Describe(const Finding& finding);

}  // namespace dffinfo
