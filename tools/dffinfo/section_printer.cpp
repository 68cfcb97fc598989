#include "tools/dffinfo/section_printer.h"

#include "section/map_text.h"

namespace dffinfo {

void PrintSectionText(std::ostream& out, const SectionFiles& section) {
  using section::FormatNumber;
  if (!section.idePath.empty()) {
    out << section.idePath << ": " << section.models.size() << " models\n";
    for (const section::IdeObject& m : section.models) {
      out << "  " << m.id << " " << m.model << " txd " << m.txd << " drawn from " << FormatNumber(m.drawDistance)
          << " m, flags " << m.flags << "\n";
    }
  }
  if (!section.iplPath.empty()) {
    out << section.iplPath << ": " << section.instances.size() << " instances\n";
    for (std::size_t i = 0; i < section.instances.size(); ++i) {
      const section::IplInstance& n = section.instances[i];
      out << "  [" << i << "] " << n.id << " " << n.model << " at (" << FormatNumber(n.position[0]) << ", "
          << FormatNumber(n.position[1]) << ", " << FormatNumber(n.position[2]) << ") rotation ("
          << FormatNumber(n.rotation.x) << ", " << FormatNumber(n.rotation.y) << ", " << FormatNumber(n.rotation.z)
          << ", " << FormatNumber(n.rotation.w) << ") LOD " << n.lod << "\n";
    }
  }
  if (!section.imgPath.empty()) {
    out << section.imgPath << ": " << section.archive.size() << " files, " << section.colEntries
        << " COL entries\n";
    for (const section::ImgDirectoryEntry& e : section.archive) {
      out << "  " << e.name << " at sector " << e.offset << ", " << e.size << " sectors\n";
    }
  }
}

void PrintSectionFindings(std::ostream& out, const SectionFiles& section) {
  for (const SectionFinding& finding : section.findings) {
    out << (finding.damage ? "damage: " : "warning: ") << finding.file << ": " << finding.message << "\n";
  }
}

nlohmann::json SectionToJson(const SectionFiles& section, bool listing) {
  nlohmann::json json;
  json["ide"] = section.idePath;
  json["ipl"] = section.iplPath;
  json["img"] = section.imgPath;
  json["sound"] = section.sound();
  if (listing) {
    json["models"] = nlohmann::json::array();
    for (const section::IdeObject& m : section.models) {
      json["models"].push_back(
          {{"id", m.id}, {"model", m.model}, {"txd", m.txd}, {"drawDistance", m.drawDistance}, {"flags", m.flags}});
    }
    json["instances"] = nlohmann::json::array();
    for (const section::IplInstance& n : section.instances) {
      json["instances"].push_back({{"id", n.id},
                                   {"model", n.model},
                                   {"interior", n.interior},
                                   {"position", n.position},
                                   {"rotation", {n.rotation.x, n.rotation.y, n.rotation.z, n.rotation.w}},
                                   {"lod", n.lod}});
    }
    json["archive"] = nlohmann::json::array();
    for (const section::ImgDirectoryEntry& e : section.archive) {
      json["archive"].push_back({{"name", e.name}, {"offset", e.offset}, {"size", e.size}});
    }
    json["colEntries"] = section.colEntries;
  }
  json["findings"] = nlohmann::json::array();
  for (const SectionFinding& finding : section.findings) {
    json["findings"].push_back(
        {{"severity", finding.damage ? "damage" : "warning"}, {"file", finding.file}, {"message", finding.message}});
  }
  return json;
}

}  // namespace dffinfo
