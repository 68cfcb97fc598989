#include "tools/dffinfo/col_text_printer.h"

#include <cstdio>
#include <map>
#include <string>

#include "col/surface_types.h"

namespace dffinfo {
namespace {

std::string Vector(const Vec3& v) {
  char text[96];
  std::snprintf(text, sizeof text, "(%.4f, %.4f, %.4f)", static_cast<double>(v[0]), static_cast<double>(v[1]),
                static_cast<double>(v[2]));
  return text;
}

std::string SurfaceName(int id) {
  const char* name = col::SurfaceTypeName(id);
  return std::to_string(id) + " " + (name ? name : "(no such surface)");
}

void PrintSurfaces(std::ostream& out, const std::map<int, std::size_t>& uses) {
  out << "    surfaces:";
  for (const auto& [id, count] : uses) out << "  " << SurfaceName(id) << " x" << count;
  out << "\n";
}

void PrintMesh(std::ostream& out, const char* label, const ColMesh& mesh, std::size_t groups) {
  out << "  " << label << ": " << mesh.faces.size() << " faces, " << mesh.vertices.size() << " vertices";
  if (groups > 0) out << ", " << groups << " face groups";
  out << "\n";
  std::map<int, std::size_t> uses;
  for (const ColFace& f : mesh.faces) ++uses[f.material];
  if (!uses.empty()) PrintSurfaces(out, uses);
}

void PrintLegacyMesh(std::ostream& out, const ColLegacyMesh& mesh) {
  out << "  collision mesh: " << mesh.faces.size() << " faces, " << mesh.vertices.size() << " vertices\n";
  std::map<int, std::size_t> uses;
  for (const ColLegacyFace& f : mesh.faces) ++uses[f.surface.material];
  if (!uses.empty()) PrintSurfaces(out, uses);
}

void PrintEntry(std::ostream& out, const ColEntryRecord& e) {
  char flags[16];
  std::snprintf(flags, sizeof flags, "0x%02X", e.flags);
  out << e.origin.path << " '" << e.name << "' at " << e.origin.offset << ": " << e.size + 8
      << " bytes, model id " << e.modelId;
  if (!e.decoded) {
    out << " (" << e.fourcc << " entries are listed, not decoded)\n";
    return;
  }
  if (e.version != 1) out << ", flags " << flags;
  out << "\n";
  out << "  bounds: box " << Vector(e.boxMin) << " to " << Vector(e.boxMax) << ", sphere "
      << Vector(e.sphereCentre) << " radius " << e.sphereRadius << "\n";
  out << "  spheres " << e.spheres.size() << ", boxes " << e.boxes.size() << ", lines "
      << static_cast<int>(e.lineCount) << "\n";
  if (e.version == 1) {
    PrintLegacyMesh(out, e.legacyMesh);
    return;
  }
  PrintMesh(out, "collision mesh", e.mesh, e.faceGroups.size());
  if (e.version == 3) PrintMesh(out, "shadow mesh", e.shadow, 0);
}

}  // namespace

void PrintColEntries(std::ostream& out, const std::vector<ColEntryRecord>& entries) {
  for (const ColEntryRecord& entry : entries) PrintEntry(out, entry);
}

}  // namespace dffinfo
