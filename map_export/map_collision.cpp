#include "map_export/map_collision.h"

#include <algorithm>
#include <cstdint>
#include <map>

#include "col/col3_writer.h"
#include "dff/output_file.h"
#include "platform/path_rules.h"

namespace mapexport {
namespace {

using scene::HostServices;
using scene::MessageLines;
using scene::Service;

// A written position through its frame and every frame above it: each
// frame's 3x3 rotation as the FrameList stores it, rows taken as the
// images of x, y and z, then its position.
col::Point InClumpSpace(const scene::FrameNode* frame, const platform::Vec3f& position) {
  col::Point p{static_cast<double>(position.x), static_cast<double>(position.y),
               static_cast<double>(position.z)};
  for (; frame != nullptr; frame = frame->parent) {
    const auto& m = frame->rotationMatrix->m;
    const col::Point offset{static_cast<double>(frame->position.x), static_cast<double>(frame->position.y),
                            static_cast<double>(frame->position.z)};
    col::Point out{};
    for (std::size_t axis = 0; axis < 3; ++axis) {
      out[axis] = p[0] * static_cast<double>(m[0][axis]) + p[1] * static_cast<double>(m[1][axis]) +
                  p[2] * static_cast<double>(m[2][axis]) + offset[axis];
    }
    p = out;
  }
  return p;
}

bool HasCollisionItem(const std::vector<scene::DffExporter::LeftOutItem>& leftOut) {
  return std::any_of(leftOut.begin(), leftOut.end(),
                     [](const auto& item) { return item.role == col::ItemRole::kCollision; });
}


// Collects triangles of built meshes for an entry: items and surfaces
// each named once.
class TriangleGatherer {
 public:
  TriangleGatherer(const LWItemInfo& itemInfo, col::EntrySource& source) : itemInfo_(itemInfo), source_(source) {}

  // The mesh's triangles, wound as the game's collision reads them: the
  // geometry's corners run the other way round.
  void Add(const scene::MeshObject& mesh, const std::vector<col::Point>& points,
           std::vector<col::SourceTriangle>& into) {
    const std::uint32_t item = ItemIndex(mesh.itemId);
    for (std::size_t corner = 0; corner + 2 < mesh.cornerVertices.size(); corner += 3) {
      const auto& material = mesh.materials.at(static_cast<std::size_t>(mesh.cornerMaterials[corner]));
      into.push_back({{points.at(static_cast<std::size_t>(mesh.cornerVertices[corner])),
                       points.at(static_cast<std::size_t>(mesh.cornerVertices[corner + 2])),
                       points.at(static_cast<std::size_t>(mesh.cornerVertices[corner + 1]))},
                      item,
                      SurfaceIndex(material.surfaceName)});
    }
  }

 private:
  std::uint32_t ItemIndex(LWItemID item) {
    const auto [found, added] = items_.emplace(item, static_cast<std::uint32_t>(source_.items.size()));
    if (added) {
      const char* name = itemInfo_.name(item);
      source_.items.emplace_back(name != nullptr ? name : "");
    }
    return found->second;
  }

  std::uint32_t SurfaceIndex(const std::string& name) {
    const auto [found, added] = surfaces_.emplace(name, static_cast<std::uint32_t>(source_.surfaces.size()));
    if (added) source_.surfaces.push_back(name);
    return found->second;
  }

  const LWItemInfo& itemInfo_;
  col::EntrySource& source_;
  std::map<LWItemID, std::uint32_t> items_;
  std::map<std::string, std::uint32_t> surfaces_;
};

// Builds the left-out items as the first command would build them (every
// item keeps its frame, so each collision item sits under its parent as a
// visible item would) and adds their triangles.  Only their geometry is
// built: the visible items' frames are needed, their meshes are not.
void AddLeftOutItems(const HostServices& services, const std::vector<scene::DffExporter::LeftOutItem>& leftOut,
                     const scene::BuildChoices& itemChoices, col::EntrySource& source) {
  std::map<LWItemID, col::ItemRole> roles;
  for (const auto& item : leftOut) roles.emplace(item.item, item.role);
  if (roles.empty()) return;
  scene::DffExporter exporter(services.sceneInfo, services.objectInfo, services.sceneObjects,
                              services.surfaceFuncs, services.itemInfo, services.imageList,
                              services.textureFuncs, services.fileRequest);
  exporter.choices.askForCollision = false;
  exporter.choices.keepItem = itemChoices.keepItem;
  exporter.choices.modelRoot = itemChoices.modelRoot;
  exporter.sceneName = services.sceneInfo->name;
  exporter.itemNameText = services.ServedAs(Service::kItemInfo).text;
  exporter.BuildFrames();
  auto& meshes = exporter.meshObjects;
  meshes.erase(std::remove_if(meshes.begin(), meshes.end(),
                              [&roles](const auto& mesh) { return roles.count(mesh->itemId) == 0; }),
               meshes.end());
  exporter.BuildAllGeometry();
  TriangleGatherer gatherer(*services.itemInfo, source);
  for (const auto& mesh : meshes) {
    const bool shadow = roles.at(mesh->itemId) == col::ItemRole::kShadow;
    gatherer.Add(*mesh, PointsInClumpSpace(*mesh), shadow ? source.shadow : source.collision);
  }
  exporter.ReleaseAll();
}

std::string CountOf(std::size_t count, const char* one, const char* many) {
  return std::to_string(count) + " " + (count == 1 ? one : many);
}

std::string Quoted(const std::vector<std::string>& names) {
  std::string text;
  for (std::size_t i = 0; i < names.size(); ++i) text += (i == 0 ? "\"" : ", \"") + names[i] + "\"";
  return text;
}

// Surfaces that name no surface type are worth a warning on collision
// items, whose surfaces were chosen for the collision; the visible model's
// were not, and the summary counts them instead.
std::vector<MessageLines> BuildWarnings(const col::BuiltEntry& built, const std::string& wanted,
                                        bool visibleAsCollision) {
  std::vector<MessageLines> warnings;
  if (built.nameCut) {
    warnings.push_back({"The COL entry is named \"" + built.entry.name + "\": \"" + wanted +
                            "\" is longer than the 21 bytes an entry name holds.",
                        "The game finds a map object's collision by its model name; give the DFF a name of at "
                        "most 21 bytes so that the two match."});
  }
  if (!built.unknownSurfaces.empty() && !visibleAsCollision) {
    warnings.push_back({CountOf(built.defaultedFaces, "collision face has", "collision faces have") +
                            " a surface that names no collision surface (" + Quoted(built.unknownSurfaces) +
                            "), so the game treats them as DEFAULT.",
                        "Name the surface after a game surface such as TARMAC or GRASS_SHORT_LUSH, or start "
                        "its name with the surface's number 0..178."});
  }
  if (built.collapsedFaces > 0) {
    warnings.push_back({CountOf(built.collapsedFaces, "collision face was", "collision faces were") +
                            " left out of the COL file: two of its corners lie within 1/128 m of each other.",
                        ""});
  }
  return warnings;
}

bool WriteColFile(const col::Entry& entry, const std::string& colPath, platform::TextEncoding encoding,
                  std::string& error) {
  std::vector<std::uint8_t> bytes;
  col::AppendCol3Entry(entry, bytes);
  dff::OutputFile file(colPath, encoding);
  if (!file.ok()) {
    error = file.error();
    return false;
  }
  file.stream().WriteBytes(bytes.data(), bytes.size());
  if (!file.Commit()) {
    error = file.error();
    return false;
  }
  return true;
}

}  // namespace

std::vector<col::Point> PointsInClumpSpace(const scene::MeshObject& mesh) {
  std::vector<col::Point> points;
  points.reserve(mesh.positions.size());
  for (const platform::Vec3f& position : mesh.positions) points.push_back(InClumpSpace(mesh.frame, position));
  return points;
}

col::EntrySource VisibleModelSource(const scene::DffExporter& exporter) {
  col::EntrySource source;
  const bool asCollision = !HasCollisionItem(exporter.leftOutItems);
  TriangleGatherer gatherer(*exporter.itemInfo, source);
  for (const auto& mesh : exporter.meshObjects) {
    std::vector<col::Point> points = PointsInClumpSpace(*mesh);
    if (asCollision) gatherer.Add(*mesh, points, source.collision);
    source.visual.insert(source.visual.end(), points.begin(), points.end());
  }
  return source;
}

bool GatherMapCollision(const HostServices& services, const std::vector<scene::DffExporter::LeftOutItem>& leftOut,
                        const scene::BuildChoices& itemChoices, col::EntrySource& source) {
  AddLeftOutItems(services, leftOut, itemChoices, source);
  return !HasCollisionItem(leftOut);
}

MapCollisionEntry FinishMapCollision(const col::EntrySource& source, const std::string& colName,
                                     bool visibleAsCollision) {
  MapCollisionEntry result;
  result.visibleAsCollision = visibleAsCollision;
  result.built = col::BuildEntry(source);
  const col::BuiltEntry& built = result.built;
  if (built.failure == col::BuildFailure::kTooLarge && visibleAsCollision) {
    result.leftOut = true;
    result.warnings.push_back(
        {colName + " was not written: the scene has no collision item, so the visible triangles would be the "
                   "collision, but " + built.error + ".",
         "Add a collision layer (named col, or ending in _col) with a simpler mesh and export again."});
    return result;
  }
  if (built.failure != col::BuildFailure::kNone) {
    result.error = colName + " was not written: " + built.error + ".";
    return result;
  }
  result.warnings = BuildWarnings(built, source.name, visibleAsCollision);
  return result;
}

MapCollision WriteMapCollision(const HostServices& services,
                               const std::vector<scene::DffExporter::LeftOutItem>& leftOut,
                               col::EntrySource source, const std::string& dffPath, const std::string& colPath) {
  MapCollision result;
  source.name = platform::RemoveExtension(platform::StripPath(dffPath));
  const std::string colName = platform::StripPath(colPath);
  const bool visibleAsCollision = GatherMapCollision(services, leftOut, scene::BuildChoices{}, source);
  MapCollisionEntry entry = FinishMapCollision(source, colName, visibleAsCollision);
  result.warnings = std::move(entry.warnings);
  if (entry.leftOut) return result;
  if (entry.error) {
    result.error = entry.error;
    return result;
  }
  const col::BuiltEntry& built = entry.built;
  std::string error;
  if (!WriteColFile(built.entry, colPath, services.ServedAs(Service::kFileRequest).text, error)) {
    result.error = "The COL file " + colPath + " was not written: " + error;
    return result;
  }
  result.summary = colName + " (" + CountOf(built.entry.mesh.faces.size(), "face", "faces") + ", " +
                   CountOf(built.SurfaceCount(), "surface", "surfaces");
  if (!built.entry.shadow.faces.empty()) {
    result.summary += ", " + CountOf(built.entry.shadow.faces.size(), "shadow face", "shadow faces");
  }
  result.summary += ")";
  if (visibleAsCollision) {
    result.note = " The scene has no collision item, so the visible triangles are the collision";
    if (built.defaultedFaces > 0) {
      result.note += ", with DEFAULT on the " + CountOf(built.defaultedFaces, "face", "faces") +
                     " whose surface names no surface type";
    }
    result.note += ".";
  }
  return result;
}

}  // namespace mapexport
